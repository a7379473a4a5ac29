// Helpers shared by the sample's walk-throughs.
#pragma once

#include <string>

#include "tessel/base/TesselBase.hpp"

namespace sample {

// Prints a heading for one step of the walk-through.
void Step(const char* title);

// Narrow copy of a wide text for the console (null prints as "(null)").
std::string Narrow(const wchar_t* text);

// One line describing an outcome.
std::string Describe(const TesselAPICallbackResult* result);
std::string Describe(const Tessel::PCSDK::CallbackResult& result);
std::string Describe(const TesselAPIResult& result);
std::string Describe(const Tessel::PCSDK::Result& result);

// Pumps the platform's callbacks the way a game loop would.
void PumpCallbacks();

// Ludex and Scrivo, in both interfaces.
void RunBasics();

}  // namespace sample
