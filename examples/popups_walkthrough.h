/* Panora, the popup view module: the sample's walk-through. */
#ifndef TESSEL_SAMPLE_POPUPS_WALKTHROUGH_H
#define TESSEL_SAMPLE_POPUPS_WALKTHROUGH_H

/* Shows popups in both interfaces, closes them, suppresses one, fetches a
 * web open key and prints the popup lists. */
void RunPopupWalkthrough();

#endif
