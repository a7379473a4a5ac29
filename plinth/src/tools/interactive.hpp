// Interactive mode: a request that opens a purchase window or a popup is
// held as a waiting window instead of being answered at once, and the player
// answers it from the console (pay, decline, cancel, close; close with a
// close-button kind, open the link).
//
// The waiting-window rule: a held window leaves the registry exactly once,
// by a choice or by being ended (shutdown, the platform's reset, closing all
// popups), and each way queues the request's result and then its destroy
// notice through the normal queue and pump (Internal.hpp, rules 1 and 2).
// Ending allocates nothing: the window's "closed" answers are made when it
// is held, so a window held when the platform shuts down is still answered.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "platform/core.hpp"

namespace plinth {

// Read by the request handlers on every request: one relaxed load.
bool InteractiveMode() noexcept;
void SetInteractiveMode(bool on) noexcept;

enum class Choice { Pay, Decline, Cancel, Close, OpenLink };

// What the console shows of a waiting window, as the player would see it.
struct WindowLine {
    int64_t productId = 0;
    std::wstring name;
    int32_t quantity = 0;
    std::wstring displayPrice;
};
struct WindowPopup {
    int32_t popupId = 0;
    std::wstring title;
    std::wstring link;
    std::wstring image;
    int32_t closeButton = 0;
};
struct WindowView {
    uint64_t id = 0;
    std::wstring kind;  // purchase, or the popup list: auto, manual, news, coupon
    uint32_t module = 0;
    uint32_t operation = 0;
    std::vector<WindowLine> lines;
    std::wstring total;
    std::vector<std::wstring> paymentMethods;
    std::vector<WindowPopup> popups;
};

// A request's answers: its result and, when it has a destroy trampoline,
// the destroy notice, queued together, the result first.
struct WindowAnswers {
    JobPtr result;
    uint32_t resultCode = 0;
    JobPtr notice;  // null without a destroy trampoline
    uint32_t noticeCode = 0;
};

struct WaitingWindow {
    WindowView view;
    WindowAnswers closed;  // made when held: ending the window allocates nothing
    // The answers to a choice the window offers (may throw).
    std::function<WindowAnswers(Choice choice, int32_t option)> choose;
};

// Makes the registry's node for a window (may throw); Hold then makes it
// visible (allocates nothing).
using PendingWindow = std::list<WaitingWindow>;
void HoldWindow(PendingWindow& window) noexcept;

enum class ChoiceAnswer { Answered, UnknownWindow, NotOffered };
// The player's choice; option is the close-button kind for Close on a popup
// (-1: the popup's own) or the popup's index for OpenLink. Says why a choice
// was refused in why. Throws only when out of memory, and the window is
// then answered as closed.
ChoiceAnswer ChooseWindow(uint64_t id, Choice choice, int32_t option, std::string& why);

// Ends every waiting window with its "closed" answers; the number ended.
std::size_t EndWaitingWindows() noexcept;
std::size_t WaitingWindowCount() noexcept;
std::vector<WindowView> WaitingWindows();

}  // namespace plinth
