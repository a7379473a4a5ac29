// The offline sandbox platform and its scripting interface.
//
// Games build against the sandbox to run every module offline: requests are
// answered with plausible data through Tessel_RunCallbacks. Tests switch it
// to scripted mode, in which requests are only recorded: the test decides
// what each call returns and completes each request itself by calling its
// trampoline with objects of its choosing.
#pragma once

#if !defined(TESSEL_SANDBOX_CONTROL)
#error "The sandbox's scripting interface is only for builds that link the Tessel::Sandbox target."
#endif

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tessel/base/Internal.hpp"

namespace Tessel::PCSDK::Sandbox {

template <class T, class... Args>
T* NewObject(Args&&... args);

// ---------------------------------------------------------------------------
// Concrete objects. The sandbox answers with these, and tests build them
// (usually on the stack) to complete requests. A stack object is never
// deleted by Release; objects made with NewObject are deleted by their last
// Release.

template <class Interface>
class Object : public Interface {
public:
    int32_t GetTypeId() const override { return typeId_; }
    uint32_t Retain() override { return ++refs_; }
    void Release() override
    {
        ++releaseCalls_;
        if (refs_ > 0 && --refs_ == 0 && destroy_ != nullptr) {
            destroy_(this);
        }
    }
    uint32_t GetRetainCount() const override { return refs_; }

    // How often Release was called on this object.
    uint32_t GetReleaseCalls() const { return releaseCalls_; }

    template <class T, class... Args>
    friend T* NewObject(Args&&... args);  // NOLINT(readability-redundant-declaration)

protected:
    explicit Object(int32_t typeId) : typeId_(typeId) {}
    Object(const Object& other) : Interface(other), typeId_(other.typeId_) {}
    Object& operator=(const Object&) = delete;
    ~Object() = default;

private:
    int32_t typeId_;
    uint32_t refs_ = 1;
    uint32_t releaseCalls_ = 0;
    void (*destroy_)(Base::IObject*) = nullptr;
};

// Allocates an object that deletes itself on its last Release.
template <class T, class... Args>
T* NewObject(Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    object->destroy_ = [](Base::IObject* self) { delete static_cast<T*>(self); };
    return object;
}

// Texts are kept as optional wide strings: nullopt stands for a null pointer.
using Text = std::optional<std::wstring>;
PLINTH_API const wchar_t* TextPointer(const Text& text);

class PLINTH_API ResultObject final : public Object<Base::IResultObject> {
public:
    ResultObject(uint32_t operationCode = 0, uint32_t resultCode = 0);
    uint32_t GetOperationCode() const override;
    uint32_t GetResultCode() const override;

    uint32_t operationCode;
    uint32_t resultCode;
};

class PLINTH_API CallbackResultObject final : public Object<Base::ICallbackResultObject> {
public:
    CallbackResultObject();
    CallbackResultObject(void* userContext, uint32_t operationCode, uint32_t resultCode,
                         Text message = std::wstring(), int32_t value = 0);
    Base::IResultObject* GetResult() const override;
    const wchar_t* GetMessageText() const override;
    int32_t GetValue() const override;
    void* GetUserContext() const override;

    // When false, GetResult answers null.
    bool hasResult = true;
    mutable ResultObject result;
    Text message;
    int32_t value = 0;
    void* userContext = nullptr;
};

class PLINTH_API ListObject final : public Object<Base::IListObject> {
public:
    ListObject();
    explicit ListObject(std::vector<Base::IObject*> items);
    uint32_t GetCount() const override;
    Base::IObject* GetItem(uint32_t index) const override;

    // The reported count; by default the number of items. A count larger than
    // the vector yields null items past its end.
    std::optional<uint32_t> count;
    std::vector<Base::IObject*> items;
};

class PLINTH_API CharacterData final : public Object<Base::ICharacterData> {
public:
    explicit CharacterData(Text text = std::wstring());
    const wchar_t* GetCharacterText() const override;

    Text text;
};

// ---------------------------------------------------------------------------
// What the modules did with the platform, as recorded in scripted mode.

struct NullText {
    bool operator==(const NullText&) const { return true; }
};

// One value received by a parameter object's setter.
using ParamValue = std::variant<NullText, bool, int32_t, uint32_t, int64_t, uint64_t, double,
                                std::wstring, std::vector<const Base::IParam*>, const Base::IParam*>;

struct SetterCall {
    int position;
    ParamValue value;
};

struct ParamRecord {
    int32_t typeId = 0;
    const Base::IParam* object = nullptr;
    std::vector<SetterCall> calls;
    uint32_t releaseCalls = 0;
};

using AnyFunction = void (*)();

struct RequestRecord {
    std::string_view function;  // the platform function's name, a static string
    Base::IParam* param = nullptr;
    AnyFunction trampoline = nullptr;
    AnyFunction secondTrampoline = nullptr;
    void* context = nullptr;
    void* secondContext = nullptr;
    // Popup list fetches only.
    std::wstring key;
    View::PopupFetchCallback fetchCallback;

    template <class T>
    T As() const { return reinterpret_cast<T>(trampoline); }
    template <class T>
    T SecondAs() const { return reinterpret_cast<T>(secondTrampoline); }
};

// The platform calls a module makes that return a result object.
enum class Call {
    GetVersion,
    IAPInitialize,
    IAPInitializeWithWndInfo,
    IAPUnInitialize,
    ViewInitialize,
    ViewInitializeWithWndInfo,
    ViewUnInitialize,
    LogInitialize,
    LogUnInitialize,
    GamingServicesInitialize,
    GamingServicesUnInitialize,
    CloseAllPopups,
};

struct CallRecord {
    Call call;
    std::vector<const void*> pointers;  // pointer arguments, in order
    std::vector<int64_t> numbers;       // number arguments, in order
};

// What a scripted call returns: a result object with these codes, or null.
struct ScriptedResult {
    uint32_t operationCode = 0;
    uint32_t resultCode = 0;
};

class PLINTH_API Script {
public:
    // Scripted mode: requests and calls are recorded, requests are not
    // answered, parameter objects stay alive after their release so that
    // they can be inspected. End() leaves scripted mode and frees all of it.
    static void Begin();
    static void End();
    static bool IsActive();

    // What a call returns from now on; nullopt makes it return null.
    static void SetResult(Call call, std::optional<ScriptedResult> result);
    // Overrides Tessel_Internal_BaseInitialized; nullopt restores the real state.
    static void SetBaseInitialized(std::optional<bool> initialized);
    static void SetDiscarding(bool discarding);
    // Makes Tessel_CreateParam answer null for this type id.
    static void FailParamCreation(int32_t typeId, bool fail = true);
    // From now on text setters keep the caller's pointer instead of a copy,
    // and the request function reads the texts when it is called (a
    // platform may read them until the request call returns): a text that
    // died before the request call arrives corrupted, or is reported by
    // AddressSanitizer. Until then the setter records NullText.
    static void KeepTextPointers(bool keep = true);

    // How often the modules asked Tessel_Internal_BaseInitialized.
    static std::size_t BaseInitializedCalls();
    // The parameter objects in the order of their first release.
    static std::vector<const Base::IParam*> ReleaseOrder();
    // One entry per callback-result record made by
    // BaseStructUtils::ToCStruct, in order: how often FreeCStruct was called
    // on it. Anything but 1 is a fault (ScriptedTest checks it).
    static std::vector<uint32_t> CRecordFreeCalls();

    static const std::vector<CallRecord>& Calls();
    static std::size_t CountCalls(Call call);
    static const std::vector<ParamRecord>& Params();
    static const ParamRecord* FindParam(const Base::IParam* object);
    static const std::vector<RequestRecord>& Requests();
    // Result objects the calls returned, and how often each was released.
    static std::vector<uint32_t> ResultReleaseCalls();

    // Queued user callbacks waiting for Tessel_RunCallbacks.
    static std::size_t QueuedCallbacks();
    // Takes the queued user callbacks out of the queue, in order, so that a
    // test can run them itself without the pump's protection.
    static std::vector<std::function<void()>> TakeQueuedUserCallbacks();
};

// ---------------------------------------------------------------------------
// Sandbox inspection, for games and tests alike.

PLINTH_API std::vector<Log::TesselPCLogSendParamCpp> SentLogs();
PLINTH_API void ClearSentLogs();

}  // namespace Tessel::PCSDK::Sandbox
