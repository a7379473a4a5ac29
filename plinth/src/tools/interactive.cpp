// The waiting windows of interactive mode (interactive.hpp): the switch, the
// registry the console reads and answers, and the answers' jobs.
#include "tools/interactive.hpp"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "platform/text.hpp"
#include "tools/console/console.hpp"
#include "world/profile.hpp"

namespace plinth {
namespace {

std::atomic<bool> g_interactive{false};
// How many windows wait: closing all popups outside interactive mode looks
// at this and takes no lock.
std::atomic<std::size_t> g_waiting{0};

struct Registry {
    std::mutex mutex;
    std::list<WaitingWindow> windows;
    uint64_t next = 1;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// A profile says whether its world starts interactive, and the platform's
// reset (at Tessel_UnInitialize) goes back to what it says; the windows
// still waiting then were ended with the shop's popups.
const WorldSeed kSeedInteractive{[](const World& world) { SetInteractiveMode(world.interactive); }};
const FeatureReset kResetInteractive{[] { SetInteractiveMode(CurrentWorld()->interactive); }};

// Queues a window's answers; allocates nothing.
void Queue(WindowAnswers& answers, const WindowView& view) noexcept
{
    const AnswerNote result{answers.resultCode, -1, view.module, view.operation};
    if (answers.notice) {
        QueueCompletions(std::move(answers.result), result, std::move(answers.notice),
                         {answers.noticeCode, -1, view.module, view.operation});
    } else if (answers.result) {
        QueueCompletion(std::move(answers.result), Clock::time_point::min(), result);
    }
}

constexpr std::pair<const char*, Choice> kChoiceNames[] = {
    {"pay", Choice::Pay},           {"decline", Choice::Decline},   {"cancel", Choice::Cancel},
    {"close", Choice::Close},       {"open-link", Choice::OpenLink}, {"agree", Choice::Agree},
    {"withdraw", Choice::Withdraw}, {"verify", Choice::Verify},     {"fail", Choice::Fail}};

// "a, b and c" (or "a, b or c").
std::string Listed(const std::vector<Choice>& choices, const char* last)
{
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        list += i == 0 ? "" : i + 1 == choices.size() ? last : ", ";
        list += ChoiceName(choices[i]);
    }
    return list;
}

bool Offers(const WindowView& view, Choice choice, int32_t option, std::string& why)
{
    if (std::find(view.choices.begin(), view.choices.end(), choice) == view.choices.end()) {
        why = "the " + Utf8(view.kind) + " window offers " + Listed(view.choices, " and ");
        return false;
    }
    if (view.popups.empty()) {
        return true;  // only a popup list's choices take an option
    }
    if (choice == Choice::Close && (option < -1 || option > 7)) {
        why = "\"closeButton\" must be a close-button kind, 0 to 7";
        return false;
    }
    if (choice == Choice::OpenLink && (option < 0 || static_cast<std::size_t>(option) >= view.popups.size())) {
        why = "\"popup\" must be the index of one of the window's popups";
        return false;
    }
    return true;
}

// Makes a window visible; allocates nothing.
void Hold(std::list<WaitingWindow>& window) noexcept
{
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> lock(registry.mutex);
        window.front().view.id = registry.next++;
        registry.windows.splice(registry.windows.end(), window);
        ++g_waiting;
    }
    console::NoteChange();
}

}  // namespace

bool InteractiveMode() noexcept { return g_interactive.load(std::memory_order_relaxed); }

void SetInteractiveMode(bool on) noexcept
{
    if (g_interactive.exchange(on) != on) {
        console::NoteChange();
    }
}

bool WaitsForPlayer(const Sandbox::RequestRecord& request) noexcept
{
    return InteractiveMode() && request.trampoline != nullptr && CurrentOutcome() == nullptr;
}

const char* ChoiceName(Choice choice) noexcept
{
    for (const auto& [name, named] : kChoiceNames) {
        if (named == choice) {
            return name;
        }
    }
    return "";
}

bool ChoiceNamed(std::string_view name, Choice& choice) noexcept
{
    for (const auto& [known, named] : kChoiceNames) {
        if (name == known) {
            choice = named;
            return true;
        }
    }
    return false;
}

std::string ChoiceNames()
{
    std::vector<Choice> all;
    for (const auto& entry : kChoiceNames) {
        all.push_back(entry.second);
    }
    return Listed(all, " or ");
}

void HoldWindow(WindowView view, ChooseAnswers choose)
{
    std::list<WaitingWindow> window(1);
    window.front().closed = choose(Choice::Close, -1);
    window.front().view = std::move(view);
    window.front().choose = std::move(choose);
    Hold(window);
}

ChoiceAnswer ChooseWindow(uint64_t id, Choice choice, int32_t option, std::string& why)
{
    std::list<WaitingWindow> taken;
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> lock(registry.mutex);
        auto found = registry.windows.begin();
        while (found != registry.windows.end() && found->view.id != id) {
            ++found;
        }
        if (found == registry.windows.end()) {
            return ChoiceAnswer::UnknownWindow;
        }
        if (!Offers(found->view, choice, option, why)) {
            return ChoiceAnswer::NotOffered;
        }
        taken.splice(taken.end(), registry.windows, found);
        --g_waiting;
    }
    WaitingWindow& window = taken.front();
    WindowAnswers answers;
    try {
        answers = window.choose(choice, option);
    } catch (...) {
        Queue(window.closed, window.view);
        console::NoteChange();
        throw;
    }
    Queue(answers, window.view);
    console::NoteChange();
    return ChoiceAnswer::Answered;
}

std::size_t EndWaitingWindows() noexcept
{
    if (g_waiting.load() == 0) {
        return 0;
    }
    std::list<WaitingWindow> ended;
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> lock(registry.mutex);
        ended.swap(registry.windows);
        g_waiting = 0;
    }
    for (WaitingWindow& window : ended) {
        Queue(window.closed, window.view);
    }
    if (!ended.empty()) {
        console::NoteChange();
    }
    return ended.size();
}

std::size_t WaitingWindowCount() noexcept { return g_waiting.load(); }

std::vector<WindowView> WaitingWindows()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    std::vector<WindowView> views;
    for (const WaitingWindow& window : registry.windows) {
        views.push_back(window.view);
    }
    return views;
}

}  // namespace plinth
