// The popups every feature of the sandbox shows, kept in one place so that
// Tessel_CloseAllPopups and Sandbox::ClosePopups close them all.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "platform/core.hpp"

namespace plinth {

struct Popup {
    uint64_t id = 0;
    std::wstring kind;
    uint32_t operationCode = 0;
    uint32_t module = 0;
    Base::Trampoline destroy = nullptr;
    void* destroyContext = nullptr;
    Clock::time_point notBefore;  // its request's answers are due then
    // Its destroy notice, made with the popup (null for a null destroy
    // trampoline): closing only queues it, so closing allocates nothing and
    // cannot fail.
    JobPtr notice;
};

// A popup is opened in two steps. PreparePopup allocates it (it may throw);
// the request then queues its result, and only then does RegisterPopup
// (which allocates nothing) make the popup visible. So a close-all from
// another thread can never queue the popup's destroy notice ahead of the
// result of its request, and an allocation failure leaves nothing
// registered. When it is closed, destroy(destroyResult, null) is queued
// with a callback-result object carrying destroyContext and the operation
// code (nothing is queued for a null destroy trampoline), due no earlier
// than its request's answers.
//
// The popup rule: a registered popup leaves the registry only by being
// closed, which queues its destroy notice; nothing forgets one (the
// platform's reset closes what is still open). So every popup whose result
// said "created" gets its destroy notice exactly once.
using PendingPopup = std::list<Popup>;
PendingPopup PreparePopup(const wchar_t* kind, uint32_t operationCode, Base::Trampoline destroy,
                          void* destroyContext);
void RegisterPopup(PendingPopup& popup) noexcept;

// Whether the current request's popup opens: the outcome rule's word if it
// has one (a failing result code opens none), else the module's setting.
bool PopupOpens(bool moduleSetting) noexcept;

// Closes one popup (false when it is not open) or all of them.
bool ClosePopupById(uint64_t id) noexcept;
std::size_t CloseEveryPopup() noexcept;
std::size_t OpenPopupCount();

}  // namespace plinth
