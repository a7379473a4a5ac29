/* Vendra, the purchase module: the sample's shop walk-through. */
#ifndef TESSEL_SAMPLE_SHOP_WALKTHROUGH_H
#define TESSEL_SAMPLE_SHOP_WALKTHROUGH_H

#ifdef __cplusplus
extern "C" {
#endif

/* Each initializes Vendra, lists the categories and a page of products,
 * buys with an onDestroy, confirms, reads the inventory, closes every popup
 * and uninitializes Vendra. The platform must be initialized. */
void RunShopWalkthroughCpp(void);
void RunShopWalkthroughC(void);

/* The sample's frames: pumps the platform's callbacks (main.cpp). */
void SamplePumpCallbacks(void);

#ifdef __cplusplus
}
#endif

#endif
