// Sandbox answers for the view module: popup lists, showing popups (closed
// later by the game or the player through the shared popup registry),
// suppression, the web open key and identity verification.
#include <chrono>
#include <map>
#include <mutex>

#include "tools/interactive.hpp"
#include "world/popups.hpp"
#include "world/profile.hpp"
#include "tessel/sandbox/SandboxPopups.hpp"

namespace Sandbox = Tessel::PCSDK::Sandbox;
namespace View = Tessel::PCSDK::View;

namespace plinth {
namespace {

using SystemClock = std::chrono::system_clock;
using Sandbox::PopupList;

// Operation codes of the platform's own answers.
constexpr uint32_t kFetchAuto = 80;
constexpr uint32_t kFetchManual = 82;
constexpr uint32_t kFetchNews = 84;
constexpr uint32_t kFetchCoupon = 86;
constexpr uint32_t kSetDisallowed = 160;
constexpr uint32_t kWebOpenKey = 162;

struct ShowKind {
    const wchar_t* name;
    uint32_t operationCode;
    PopupList list;
};

constexpr ShowKind kShowAuto{L"auto", 81, PopupList::Auto};
constexpr ShowKind kShowManual{L"manual", 83, PopupList::Manual};
constexpr ShowKind kShowNews{L"news", 85, PopupList::News};
constexpr ShowKind kShowCoupon{L"coupon", 87, PopupList::Coupon};
constexpr uint32_t kShowIdentity = 91;

struct PopupState {
    std::mutex mutex;
    bool created = true;
    std::map<uint32_t, std::pair<uint32_t, SystemClock::time_point>> suppressed;  // id: days, until
    uint32_t webKeys = 0;
};

PopupState& Popups()
{
    static PopupState state;
    return state;
}

void ResetPopups()
{
    PopupState& state = Popups();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.created = true;
    state.suppressed.clear();
    state.webKeys = 0;
}

const FeatureReset kResetPopups{&ResetPopups};

// The end of a suppression; a span the clock cannot count lasts forever.
SystemClock::time_point SuppressedUntil(uint32_t days)
{
    using Days = std::chrono::duration<double, std::ratio<86400>>;
    const SystemClock::time_point now = SystemClock::now();
    const Days left = std::chrono::duration_cast<Days>(SystemClock::time_point::max() - now);
    if (Days(days + 1.0) >= left) {
        return SystemClock::time_point::max();
    }
    return now + std::chrono::hours(24) * days;
}

bool IsSuppressed(uint32_t popupId)
{
    PopupState& state = Popups();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto found = state.suppressed.find(popupId);
    return found != state.suppressed.end() && SystemClock::now() < found->second.second;
}

std::vector<View::TesselPCPopupCpp> Catalogue(PopupList list, const std::wstring& key)
{
    const std::shared_ptr<const World> world = CurrentWorld();
    switch (list) {
    case PopupList::Auto: return world->autoPopups;
    case PopupList::Manual: {
        auto found = world->manualPopups.find(key);
        return found != world->manualPopups.end() ? found->second : PopupRecords{};
    }
    case PopupList::News: return world->newsPopups;
    case PopupList::Coupon: return world->couponPopups;
    }
    return {};
}

std::vector<View::TesselPCPopupCpp> Available(PopupList list, const std::wstring& key)
{
    std::vector<View::TesselPCPopupCpp> popups = Catalogue(list, key);
    std::vector<View::TesselPCPopupCpp> shown;
    for (auto& popup : popups) {
        if (!IsSuppressed(static_cast<uint32_t>(popup.number1))) {
            shown.push_back(std::move(popup));
        }
    }
    return shown;
}

const wchar_t* ListName(PopupList list)
{
    switch (list) {
    case PopupList::Auto: return L"auto";
    case PopupList::Manual: return L"manual";
    case PopupList::News: return L"news";
    case PopupList::Coupon: return L"coupon";
    }
    return L"";
}

// --- Lists -------------------------------------------------------------------

// The list is taken when the request arrives and delivered on the pump.
template <PopupList List, uint32_t Operation>
void FetchList(const Sandbox::RequestRecord& request)
{
    if (!request.fetchCallback) {
        return;
    }
    Tessel::PCSDK::CallbackResultCpp result;
    View::TesselPCPopupRequestDataCpp data;
    std::vector<View::TesselPCPopupCpp> popups;
    uint32_t code = TESSEL_RESULT_SUCCESS;
    ApplyOutcome(code, result.message);
    result.result = Tessel::PCSDK::ResultCpp(L"", Operation, code);
    const OutcomeRule* rule = CurrentOutcome();
    if (!OutcomeFails() && (rule == nullptr || !rule->emptyList)) {
        popups = Available(List, request.key);
    }
    data.pairs1 = {{L"locale", L"en-US"}, {L"list", ListName(List)}};
    if (List == PopupList::Manual) {
        data.pairs2 = {{L"key", request.key}};
    }
    const AnswerNote note{result.result.GetResultCode(), static_cast<int64_t>(popups.size())};
    PostCompletion(
        [callback = request.fetchCallback, result, popups, data]() mutable {
            if (!Tessel_Internal_IsDiscardingUserCallbacks()) {
                // Moved, not copied: handing the list over needs no memory.
                callback(std::move(result), std::move(popups), std::move(data));
            }
        },
        note);
}

void SubmitFetch(const char* function, std::wstring key, View::PopupFetchCallback callback,
                 SandboxHandler handler, uint32_t operation)
{
    Sandbox::RequestRecord record = MakeRequest(function, nullptr, Base::Trampoline{}, nullptr);
    record.key = std::move(key);
    record.fetchCallback = std::move(callback);
    SubmitRequest(record, handler, {TESSEL_SANDBOX_MODULE_PANORA, operation, Shape::Data});
}

// --- Showing popups ------------------------------------------------------------

void Answer(Base::Trampoline trampoline, void* context, uint32_t operationCode, uint32_t resultCode,
            std::wstring message, bool created)
{
    if (trampoline == nullptr) {
        return;
    }
    if (!created) {
        SoleAnswer();
    }
    ApplyOutcome(resultCode, message);
    PostCompletion(
        [=]() {
            Sandbox::CallbackResultObject result(context, operationCode, resultCode, message);
            Sandbox::PopupResultData data(created);
            trampoline(&result, &data);
        },
        {resultCode});
}

bool CreatesPopups()
{
    PopupState& state = Popups();
    std::lock_guard<std::mutex> lock(state.mutex);
    return PopupOpens(state.created);
}

// --- Interactive popups (interactive.hpp) ---------------------------------------

const char* const kCloseButtonNames[] = {"CUSTOM",    "PRESET_01", "PRESET_02", "PRESET_03",
                                         "PRESET_04", "PRESET_05", "PRESET_06", "DEFAULT"};

// The answers to a choice on a held popup: the result says it was shown,
// the destroy notice how it went away (its value is the close-button kind).
WindowAnswers PopupAnswers(const Sandbox::RequestRecord& request, uint32_t operation, std::size_t count,
                           Choice choice, int32_t option, const std::vector<WindowPopup>& popups)
{
    WindowAnswers answers;
    answers.resultCode = TESSEL_RESULT_SUCCESS;
    auto shown = std::make_shared<Sandbox::PopupResultData>(true);
    answers.result = DataAnswerJob(request.As<Base::Trampoline>(), request.context, operation, TESSEL_RESULT_SUCCESS,
                                   std::to_wstring(count) + L" popup(s) shown.", [shown] { return shown.get(); });
    const auto destroy = request.SecondAs<Base::Trampoline>();
    if (choice == Choice::OpenLink) {
        answers.noticeCode = TESSEL_SANDBOX_RESULT_LINK_OPENED;
        answers.notice = DestroyNoticeJob(destroy, request.secondContext, operation, answers.noticeCode,
                                          popups.at(static_cast<std::size_t>(option)).link, 0);
        return answers;
    }
    const int32_t kind = option >= 0 ? option : popups.front().closeButton;
    std::wstring message = L"Closed with the close button ";
    const char* name = kind >= 0 && kind <= 7 ? kCloseButtonNames[kind] : "of the popup's own kind";
    message.append(name, name + std::char_traits<char>::length(name));
    answers.noticeCode = TESSEL_RESULT_SUCCESS;
    answers.notice = DestroyNoticeJob(destroy, request.secondContext, operation, TESSEL_RESULT_SUCCESS,
                                      std::move(message) + L".", kind);
    return answers;
}

// Holds a popup that would be shown for the player's choice; false when
// nobody would hear it (no result callback) or an outcome rule decides it.
bool HoldPopup(const Sandbox::RequestRecord& request, const ShowKind& kind, const std::wstring& key)
{
    if (!WaitsForPlayer(request)) {
        return false;
    }
    const std::vector<View::TesselPCPopupCpp> shown = Available(kind.list, key);
    WindowView view;
    view.kind = ListName(kind.list);
    view.module = TESSEL_SANDBOX_MODULE_PANORA;
    view.operation = kind.operationCode;
    view.choices = {Choice::Close, Choice::OpenLink};
    for (const View::TesselPCPopupCpp& popup : shown) {
        view.popups.push_back({popup.number1, popup.text1, popup.text2, popup.text3, popup.number5});
    }
    const std::size_t count = shown.size();
    const Sandbox::RequestRecord held = MakeRequest(request.function.data(), nullptr, request.As<Base::Trampoline>(),
                                                    request.context, request.SecondAs<Base::Trampoline>(),
                                                    request.secondContext);
    const uint32_t operation = kind.operationCode;
    std::vector<WindowPopup> popups = view.popups;
    HoldWindow(std::move(view), [held, operation, count, popups = std::move(popups)](Choice choice, int32_t option) {
        return PopupAnswers(held, operation, count, choice, option, popups);
    });
    return true;
}

template <const ShowKind& Kind>
void ShowPopup(const Sandbox::RequestRecord& request)
{
    std::wstring key;
    if (Kind.list == PopupList::Manual && request.param != nullptr) {
        const wchar_t* text = static_cast<Base::IManualPopupParam*>(request.param)->GetKey();
        key = text != nullptr ? text : L"";
    }
    const auto result = request.As<Base::Trampoline>();
    if (!CreatesPopups()) {
        Answer(result, request.context, Kind.operationCode, TESSEL_RESULT_POPUP_NOT_CREATED,
               L"The popup could not be created.", false);
        return;
    }
    const OutcomeRule* rule = CurrentOutcome();
    const std::size_t count = rule != nullptr && rule->emptyList ? 0 : Available(Kind.list, key).size();
    if (count == 0) {
        // Code 0 means shown: with nothing to show the popup is not created.
        Answer(result, request.context, Kind.operationCode, TESSEL_RESULT_POPUP_NOT_CREATED,
               L"There is nothing to show.", false);
        return;
    }
    if (InteractiveMode() && HoldPopup(request, Kind, key)) {
        return;
    }
    // Allocated first, registered once the result is queued.
    PendingPopup popup = PreparePopup(Kind.name, Kind.operationCode, request.SecondAs<Base::Trampoline>(),
                                      request.secondContext);
    popup.front().module = TESSEL_SANDBOX_MODULE_PANORA;
    Answer(result, request.context, Kind.operationCode, TESSEL_RESULT_SUCCESS,
           std::to_wstring(count) + L" popup(s) shown.", true);
    RegisterPopup(popup);
}

// --- Identity verification -----------------------------------------------------

// The value the verification delivers.
std::wstring IdentityValue(bool verified, bool adult)
{
    const std::wstring check = std::wstring(L",\"adultCheck\":") + (adult ? L"true" : L"false");
    return verified ? L"{\"verified\":true" + check + L",\"ci\":\"sandbox-ci-0001\"}"
                    : L"{\"verified\":false" + check + L"}";
}

struct HeldIdentity {
    Base::Trampoline result = nullptr;
    void* context = nullptr;
    Base::Trampoline value = nullptr;
    void* valueContext = nullptr;
    bool adult = false;
};

// The popup was shown, so the result says so whatever the choice; the value
// callback hears how it went: verified, not verified, or closed with no value.
WindowAnswers ChooseIdentity(const HeldIdentity& held, Choice choice)
{
    WindowAnswers answers;
    answers.resultCode = TESSEL_RESULT_SUCCESS;
    auto shown = std::make_shared<Sandbox::PopupResultData>(true);
    answers.result = DataAnswerJob(held.result, held.context, kShowIdentity, TESSEL_RESULT_SUCCESS,
                                   L"Identity verification shown.", [shown] { return shown.get(); });
    if (choice != Choice::Verify && choice != Choice::Fail) {
        answers.noticeCode = TESSEL_SANDBOX_RESULT_WINDOW_CLOSED;
        answers.notice = DestroyNoticeJob(held.value, held.valueContext, kShowIdentity, answers.noticeCode,
                                          L"The identity verification popup was closed.", 0);
        return answers;
    }
    if (held.value == nullptr) {
        return answers;
    }
    const bool verified = choice == Choice::Verify;
    answers.noticeCode = verified ? TESSEL_RESULT_SUCCESS : TESSEL_SANDBOX_RESULT_NOT_VERIFIED;
    auto value = std::make_shared<Sandbox::IdentityValueData>(IdentityValue(verified, held.adult));
    answers.notice = DataAnswerJob(held.value, held.valueContext, kShowIdentity, answers.noticeCode,
                                   verified ? L"Verified." : L"The identity could not be verified.",
                                   [value] { return value.get(); });
    return answers;
}

// Holds the verification for the player's choice; false when it answers at
// once: nobody would hear the choice or an outcome rule decides it.
bool HoldIdentity(const Sandbox::RequestRecord& request, bool adult)
{
    if (!WaitsForPlayer(request)) {
        return false;
    }
    WindowView view;
    view.kind = L"identity";
    view.module = TESSEL_SANDBOX_MODULE_PANORA;
    view.operation = kShowIdentity;
    view.choices = {Choice::Verify, Choice::Fail, Choice::Close};
    view.adultCheck = adult;
    const HeldIdentity held{request.As<Base::Trampoline>(), request.context, request.SecondAs<Base::Trampoline>(),
                            request.secondContext, adult};
    HoldWindow(std::move(view), [held](Choice choice, int32_t) { return ChooseIdentity(held, choice); });
    return true;
}

// Outside interactive mode the sandbox verifies at once: the popup is
// reported created, then the value callback receives the verification.
void VerifyIdentity(const Sandbox::RequestRecord& request)
{
    const auto result = request.As<Base::Trampoline>();
    const auto value = request.SecondAs<Base::Trampoline>();
    if (!CreatesPopups()) {
        Answer(result, request.context, kShowIdentity, TESSEL_RESULT_POPUP_NOT_CREATED,
               L"The popup could not be created.", false);
        return;
    }
    bool adult = false;
    if (request.param != nullptr) {
        adult = static_cast<Base::IIdentityPopupParam*>(request.param)->GetFlag();
    }
    if (HoldIdentity(request, adult)) {
        return;
    }
    if (value == nullptr || result == nullptr) {
        Answer(result, request.context, kShowIdentity, TESSEL_RESULT_SUCCESS, L"Identity verification shown.",
               true);
        return;
    }
    // The result and the value are queued together, the result first: the
    // value trampoline frees the context the result trampoline kept.
    uint32_t code = TESSEL_RESULT_SUCCESS;
    std::wstring message = L"Identity verification shown.";
    ApplyOutcome(code, message);
    void* resultContext = request.context;
    void* valueContext = request.secondContext;
    PostCompletions(
        [result, resultContext, code, message]() {
            Sandbox::CallbackResultObject outcome(resultContext, kShowIdentity, code, message);
            Sandbox::PopupResultData data(true);
            result(&outcome, &data);
        },
        {code},
        [value, valueContext, text = IdentityValue(true, adult)]() {
            Sandbox::CallbackResultObject outcome(valueContext, kShowIdentity, TESSEL_RESULT_SUCCESS, L"Verified.");
            Sandbox::IdentityValueData data(text);
            value(&outcome, &data);
        },
        {TESSEL_RESULT_SUCCESS});
}

// --- Suppression and the web open key ----------------------------------------

void SetDisallowed(const Sandbox::RequestRecord& request)
{
    uint32_t popupId = 0;
    uint32_t days = 0;
    if (auto* param = static_cast<Base::IPopupDisallowParam*>(request.param)) {
        popupId = param->GetPopupId();
        days = param->GetDays();
    }
    {
        PopupState& state = Popups();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (days == 0) {
            state.suppressed.erase(popupId);
        } else {
            state.suppressed[popupId] = {days, SuppressedUntil(days)};
        }
    }
    const auto trampoline = request.As<Base::Trampoline>();
    if (trampoline == nullptr) {
        return;
    }
    void* context = request.context;
    uint32_t code = TESSEL_RESULT_SUCCESS;
    std::wstring message;
    ApplyOutcome(code, message);
    PostCompletion(
        [trampoline, context, code, message]() {
            Sandbox::CallbackResultObject result(context, kSetDisallowed, code, message);
            trampoline(&result, nullptr);
        },
        {code});
}

void FetchWebOpenKey(const Sandbox::RequestRecord& request)
{
    const auto trampoline = request.As<Base::TextTrampoline>();
    if (trampoline == nullptr) {
        return;
    }
    void* context = request.context;
    uint32_t code = TESSEL_RESULT_SUCCESS;
    std::wstring message;
    ApplyOutcome(code, message);
    // A failed request hands out no key and uses up no serial.
    std::wstring key;
    if (code == TESSEL_RESULT_SUCCESS) {
        uint32_t serial = 0;
        {
            PopupState& state = Popups();
            std::lock_guard<std::mutex> lock(state.mutex);
            serial = ++state.webKeys;
        }
        key = ExpandText(CurrentWorld()->webOpenKey, {{L"serial", std::to_wstring(serial)}});
    }
    PostCompletion(
        [trampoline, context, key, code, message]() {
            Sandbox::CallbackResultObject result(context, kWebOpenKey, code, message);
            trampoline(&result, key.c_str());
        },
        {code});
}

}  // namespace
}  // namespace plinth

using namespace plinth;

void Tessel_AutoPopup(Base::IParam* param, Base::Trampoline resultTrampoline, Base::Trampoline secondTrampoline,
                      void* resultContext, void* secondContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, secondTrampoline, secondContext),
                  &ShowPopup<kShowAuto>,
                  {TESSEL_SANDBOX_MODULE_PANORA, kShowAuto.operationCode, Shape::Data});
}

void Tessel_ManualPopup(Base::IParam* param, Base::Trampoline resultTrampoline, Base::Trampoline secondTrampoline,
                        void* resultContext, void* secondContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, secondTrampoline, secondContext),
                  &ShowPopup<kShowManual>,
                  {TESSEL_SANDBOX_MODULE_PANORA, kShowManual.operationCode, Shape::Data});
}

void Tessel_NewsPopup(Base::IParam* param, Base::Trampoline resultTrampoline, Base::Trampoline secondTrampoline,
                      void* resultContext, void* secondContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, secondTrampoline, secondContext),
                  &ShowPopup<kShowNews>,
                  {TESSEL_SANDBOX_MODULE_PANORA, kShowNews.operationCode, Shape::Data});
}

void Tessel_CouponPopup(Base::IParam* param, Base::Trampoline resultTrampoline, Base::Trampoline secondTrampoline,
                        void* resultContext, void* secondContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, secondTrampoline, secondContext),
                  &ShowPopup<kShowCoupon>,
                  {TESSEL_SANDBOX_MODULE_PANORA, kShowCoupon.operationCode, Shape::Data});
}

void Tessel_VerifyIdentificationPopup(Base::IParam* param, Base::Trampoline resultTrampoline,
                                      Base::Trampoline secondTrampoline, void* resultContext, void* secondContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, secondTrampoline, secondContext),
                  &VerifyIdentity,
                  {TESSEL_SANDBOX_MODULE_PANORA, kShowIdentity, Shape::Data});
}

void Tessel_SetPopupDisallowed(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &SetDisallowed,
                  {TESSEL_SANDBOX_MODULE_PANORA, kSetDisallowed, Shape::Data});
}

void Tessel_Internal_View_FetchWebOpenKey(Base::IParam* param, Base::TextTrampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchWebOpenKey,
                  {TESSEL_SANDBOX_MODULE_PANORA, kWebOpenKey, Shape::Text});
}

namespace Tessel::PCSDK::View {

void TesselAPI_FetchAutoPopupCpp(PopupFetchCallback callback)
{
    SubmitFetch(__func__, {}, std::move(callback), &FetchList<PopupList::Auto, kFetchAuto>, kFetchAuto);
}

void TesselAPI_FetchManualPopupCpp(const std::wstring& key, PopupFetchCallback callback)
{
    SubmitFetch(__func__, key, std::move(callback), &FetchList<PopupList::Manual, kFetchManual>, kFetchManual);
}

void TesselAPI_FetchNewsPopupCpp(PopupFetchCallback callback)
{
    SubmitFetch(__func__, {}, std::move(callback), &FetchList<PopupList::News, kFetchNews>, kFetchNews);
}

void TesselAPI_FetchCouponPopupCpp(PopupFetchCallback callback)
{
    SubmitFetch(__func__, {}, std::move(callback), &FetchList<PopupList::Coupon, kFetchCoupon>, kFetchCoupon);
}

}  // namespace Tessel::PCSDK::View

namespace Tessel::PCSDK::Sandbox {

PopupResultData::PopupResultData(bool created) : Object(Base::kDataObject), popupCreated(created) {}
bool PopupResultData::IsPopupCreated() const { return popupCreated; }

IdentityValueData::IdentityValueData(Text text) : Object(Base::kDataObject), value(std::move(text)) {}
const wchar_t* IdentityValueData::GetValueText() const { return TextPointer(value); }

std::vector<View::TesselPCPopupCpp> AvailablePopups(PopupList list, const std::wstring& key)
{
    return Available(list, key);
}

void SetViewPopupsCreated(bool created)
{
    PopupState& state = Popups();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.created = created;
}

std::vector<SuppressedPopup> SuppressedPopups()
{
    PopupState& state = Popups();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<SuppressedPopup> popups;
    for (const auto& [id, entry] : state.suppressed) {
        if (SystemClock::now() < entry.second) {
            popups.push_back({id, entry.first});
        }
    }
    return popups;
}

}  // namespace Tessel::PCSDK::Sandbox
