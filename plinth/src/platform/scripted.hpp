// What scripted mode records beyond requests and calls: the texts kept as
// raw pointers, the callback-result records and their frees, the state
// queries and the order in which parameter objects are released. Defined in
// params.cpp; reset with the parameter registry (ForgetParams).
#pragma once

#include "platform/core.hpp"

namespace plinth {

// Called by the request functions while scripted: the texts that the
// parameter object kept as raw pointers are read now, into its record.
void ReadKeptTexts(const Base::IParam* param);

// Called by BaseStructUtils while scripted. TrackCRecordFreed counts the
// call against the record and says whether its texts may be freed: false
// for a copy of a record whose texts were freed already (freeing them again
// would be a double free).
void TrackCRecordMade(const TesselAPICallbackResult& record);
bool TrackCRecordFreed(const TesselAPICallbackResult* record);

// Called by Tessel_Internal_BaseInitialized.
void CountBaseInitializedCall();

}  // namespace plinth
