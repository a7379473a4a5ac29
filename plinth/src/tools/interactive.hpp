// Interactive mode: a request that opens a window (purchase, payment, terms,
// withdrawal, identity verification) or a popup is held as a waiting window
// instead of being answered at once, and the player answers it from the
// console with one of the choices the window offers (pay, decline, cancel,
// agree, withdraw, verify, fail, close; on a popup close with a close-button
// kind or open the link).
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
#include <string_view>
#include <vector>

#include "platform/core.hpp"

namespace plinth {

// Read by the request handlers on every request: one relaxed load.
bool InteractiveMode() noexcept;
void SetInteractiveMode(bool on) noexcept;

// Whether a request that would open a window waits for the player instead:
// in interactive mode, when somebody hears the choice (a result callback)
// and no outcome rule decides the answer. The module adds whether its
// window would open at all.
bool WaitsForPlayer(const Sandbox::RequestRecord& request) noexcept;

enum class Choice { Pay, Decline, Cancel, Close, OpenLink, Agree, Withdraw, Verify, Fail };

// A choice's name in the console (pay, decline, cancel, close, open-link,
// agree, withdraw, verify, fail), and the choice a name stands for (false
// for a name that is none).
const char* ChoiceName(Choice choice) noexcept;
bool ChoiceNamed(std::string_view name, Choice& choice) noexcept;
// Every choice's name, for a refusal: "pay, decline, ... or fail".
std::string ChoiceNames();

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
    // purchase, payment, terms, withdraw, identity, or the popup list: auto,
    // manual, news, coupon
    std::wstring kind;
    uint32_t module = 0;
    uint32_t operation = 0;
    std::vector<Choice> choices;               // what it offers, in the order the page shows them
    std::vector<WindowLine> lines;             // purchase: the order; withdraw: what it gives back
    std::wstring total;                        // purchase
    std::vector<std::wstring> paymentMethods;  // purchase, payment
    int32_t asked = 0;                         // payment, terms: the operation the request asks for
    std::wstring termsText;                    // terms
    bool adultCheck = false;                   // identity: the request asks for an adult check
    std::vector<WindowPopup> popups;           // a popup list's popups
};

// A request's answers: its result and, when it has a destroy trampoline,
// the destroy notice, queued together, the result first.
struct WindowAnswers {
    JobPtr result;
    uint32_t resultCode = 0;
    JobPtr notice;  // null without a destroy trampoline
    uint32_t noticeCode = 0;
};

// The answers to a choice the window offers (may throw).
using ChooseAnswers = std::function<WindowAnswers(Choice choice, int32_t option)>;

struct WaitingWindow {
    WindowView view;
    WindowAnswers closed;  // made when held: ending the window allocates nothing
    ChooseAnswers choose;
};

// Holds a window until the player chooses: makes the registry's node and
// the window's "closed" answers, choose(Close, -1), then makes it visible.
// Throws only when out of memory, and then nothing is held.
void HoldWindow(WindowView view, ChooseAnswers choose);

enum class ChoiceAnswer { Answered, UnknownWindow, NotOffered };
// The player's choice; option is the close-button kind for Close on a popup
// (-1: the popup's own) or the popup's index for OpenLink. A window refuses a
// choice it does not offer and says why in why. Throws only when out of
// memory, and the window is then answered as closed.
ChoiceAnswer ChooseWindow(uint64_t id, Choice choice, int32_t option, std::string& why);

// Ends every waiting window with its "closed" answers; the number ended.
std::size_t EndWaitingWindows() noexcept;
std::size_t WaitingWindowCount() noexcept;
std::vector<WindowView> WaitingWindows();

}  // namespace plinth
