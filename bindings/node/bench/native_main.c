/* The C side of the Node benchmark: the C# benchmark's C baseline (the same
 * round trips through the C interface, callbacks copying every text they
 * read, as the binding does) run in a program of its own, against the
 * profile file the Node side wrote. Prints nanoseconds per operation as JSON.
 *   tessel_node_bench_native <profile.json> <round trips> <pages> <page size> */
#include <stdio.h>
#include <stdlib.h>

#include "tessel/ludex/Ludex.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

double TesselCsBench_RoundTrips(int rounds, int keep);
double TesselCsBench_ProductPages(int rounds, int pageSize, int keep);

int main(int argc, char** argv)
{
    if (argc != 5) return 2;
    int trips = atoi(argv[2]);
    int pages = atoi(argv[3]);
    int pageSize = atoi(argv[4]);
    Tessel_Initialize(L"bench");
    TesselAPI_IAPInitialize(L"bench-store");
    TesselAPI_GamingServicesInitialize();
    if (TesselSandbox_LoadProfileFile(argv[1]) != TESSEL_RESULT_SUCCESS) {
        fprintf(stderr, "profile refused: %s\n", TesselSandbox_LastProfileError());
        return 1;
    }
    TesselCsBench_RoundTrips(trips / 10 + 1, 1); /* warm-up */
    double trip = TesselCsBench_RoundTrips(trips, 1) / trips;
    TesselCsBench_ProductPages(1, pageSize, 1);
    double page = TesselCsBench_ProductPages(pages, pageSize, 1) / pages;
    printf("{\"roundTripNs\": %.1f, \"pageNs\": %.1f}\n", trip, page);
    Tessel_UnInitialize();
    return 0;
}
