/* Vendra's C records seen from C: the header compiles as C and the records
 * have the packed layout the C interface promises (4-byte packing, 64-bit
 * pointers). Checked at run time as well, so that a compiler that ignores
 * the header's static assertions still fails here. */
#include <stddef.h>
#include <stdio.h>

#include "tessel/vendra/VendraRecords.h"

static int failures = 0;

static void Expect(const char* what, size_t actual, size_t expected)
{
    if (actual != expected) {
        printf("%s: %u, expected %u\n", what, (unsigned)actual, (unsigned)expected);
        ++failures;
    }
}

#define SIZE(type, size) Expect("sizeof " #type, sizeof(type), size)
#define AT(type, field, offset) Expect(#type "." #field, offsetof(type, field), offset)

int main(void)
{
    SIZE(TesselShopCategory, 40);
    AT(TesselShopCategory, reserved, 0);
    AT(TesselShopCategory, parentCategoryId, 16);
    AT(TesselShopCategory, name, 28);

    SIZE(TesselProduct, 200);
    AT(TesselProduct, productId, 8);
    AT(TesselProduct, productTypeCode, 44);
    AT(TesselProduct, isDiscount, 120);
    AT(TesselProduct, discountType, 124);
    AT(TesselProduct, discountBeginDate, 132);
    AT(TesselProduct, canWithdraw, 168);
    AT(TesselProduct, purchasedAtLeastOnce, 169);
    AT(TesselProduct, saleEndDate, 192);
    SIZE(TesselProductEx, 204);
    AT(TesselProductEx, purchaseAvailabilityCode, 200);

    SIZE(TesselPurchasedProduct, 44);
    AT(TesselPurchasedProduct, categoryId, 24);
    SIZE(TesselChargeInfo, 36);
    AT(TesselChargeInfo, chargeTypeName, 28);

    SIZE(TesselPurchaseResult, 76);
    AT(TesselPurchaseResult, transactionDetailNumbers, 16);
    AT(TesselPurchaseResult, oneTimePaymentUrl, 28);
    AT(TesselPurchaseResult, isPurchased, 40);
    AT(TesselPurchaseResult, extraData, 44);
    AT(TesselPurchaseResult, chargeInfoCount, 72);

    SIZE(TesselInventoryItem, 60);
    AT(TesselInventoryItem, thumbnailUrl, 52);
    SIZE(TesselVoidedPurchase, 72);
    AT(TesselVoidedPurchase, characterNo, 48);

    SIZE(TesselFetchProductParam, 16);
    AT(TesselFetchProductParam, pageNumber, 8);
    SIZE(TesselOrderProduct, 20);
    AT(TesselOrderProduct, quantity, 16);
    SIZE(TesselPurchaseOption, 32);
    AT(TesselPurchaseOption, operation, 8);
    SIZE(TesselTermsOption, 32);
    AT(TesselTermsOption, webviewMode, 12);
    SIZE(TesselPaymentOption, 32);
    AT(TesselPaymentOption, height, 28);
    SIZE(TesselStartPurchaseParam, 60);
    AT(TesselStartPurchaseParam, purchaseOption, 12);
    AT(TesselStartPurchaseParam, serviceTxnNo, 44);
    AT(TesselStartPurchaseParam, extraData, 52);
    SIZE(TesselWithdrawGameOptionParams, 20);
    AT(TesselWithdrawGameOptionParams, height, 16);

    if (failures != 0) {
        printf("%d layout differences\n", failures);
        return 1;
    }
    printf("all Vendra C record layouts as expected\n");
    return 0;
}
