// The popups every feature of the sandbox shows, kept in one place so that
// Tessel_CloseAllPopups and Sandbox::ClosePopups close them all.
#pragma once

#include <cstdint>
#include <string>

#include "core.hpp"

namespace plinth {

// Opens a popup. When it is closed, destroy(destroyResult, null) is queued
// with a callback-result object carrying destroyContext and the operation
// code (nothing is queued for a null destroy trampoline). Returns its id.
uint64_t OpenPopup(std::wstring kind, uint32_t operationCode, Base::Trampoline destroy, void* destroyContext);

// Closes one popup (false when it is not open) or all of them.
bool ClosePopupById(uint64_t id);
std::size_t CloseEveryPopup();
std::size_t OpenPopupCount();

}  // namespace plinth
