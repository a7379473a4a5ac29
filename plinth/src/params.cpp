// Parameter objects of every type id. Each setter stores its value and, for
// inspection in scripted mode, records (position, value) in call order. Also
// the rest of what scripted mode records (scripted.hpp).
#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "core.hpp"
#include "scripted.hpp"
#include "text.hpp"

namespace plinth {
namespace {

using Sandbox::NullText;
using Sandbox::ParamValue;

// A text setter's argument kept as the caller's pointer, read when the
// request function is called (Script::KeepTextPointers).
struct KeptText {
    std::size_t call;
    int position;
    const wchar_t* pointer;
};

struct ParamState {
    int32_t typeId = 0;
    const Base::IParam* object = nullptr;
    std::vector<Sandbox::SetterCall> calls;
    std::map<int, ParamValue> values;
    std::vector<KeptText> keptTexts;
    uint32_t releaseCalls = 0;
};

ParamValue TextValue(const wchar_t* text)
{
    return text != nullptr ? ParamValue(std::wstring(text)) : ParamValue(NullText{});
}

// What scripted mode records besides the parameter objects' states.
struct Tracking {
    std::atomic<bool> keepTextPointers{false};
    std::atomic<std::size_t> baseInitializedCalls{0};
    std::vector<const Base::IParam*> releaseOrder;
    // Callback-result records by their message text while alive, and the
    // record last freed at each address, to count a second free.
    std::map<const wchar_t*, std::size_t> liveRecords;
    std::map<const void*, std::size_t> freedAt;
    std::vector<uint32_t> recordFreeCalls;
};

Tracking& TheTracking();
void NoteRelease(const Base::IParam* object);

template <class Interface>
class ParamObject : public Sandbox::Object<Interface> {
public:
    explicit ParamObject(int32_t typeId) : Sandbox::Object<Interface>(typeId)
    {
        state_.typeId = typeId;
        state_.object = this;
    }

    void Release() override
    {
        if (++state_.releaseCalls == 1) {
            NoteRelease(this);
        }
        Sandbox::Object<Interface>::Release();
    }
    void Clear() override { state_.values.clear(); }

    const ParamState& State() const { return state_; }
    ParamState& State() { return state_; }

protected:
    void Record(int position, ParamValue value)
    {
        state_.calls.push_back({position, value});
        state_.values[position] = std::move(value);
    }
    template <class T>
    T Read(int position) const
    {
        auto found = state_.values.find(position);
        if (found == state_.values.end()) {
            return T{};
        }
        const T* value = std::get_if<T>(&found->second);
        return value != nullptr ? *value : T{};
    }
    void RecordText(int position, const wchar_t* text)
    {
        if (text != nullptr && TheTracking().keepTextPointers && IsScripted()) {
            state_.keptTexts.push_back({state_.calls.size(), position, text});
            state_.calls.push_back({position, NullText{}});
            state_.values.erase(position);
            return;
        }
        Record(position, TextValue(text));
    }
    const wchar_t* ReadText(int position) const
    {
        for (auto kept = state_.keptTexts.rbegin(); kept != state_.keptTexts.rend(); ++kept) {
            if (kept->position == position) {
                return kept->pointer;
            }
        }
        auto found = state_.values.find(position);
        if (found == state_.values.end()) {
            return nullptr;
        }
        const auto* text = std::get_if<std::wstring>(&found->second);
        return text != nullptr ? text->c_str() : nullptr;
    }

private:
    ParamState state_;
};

// A setter at position P paired with its getter at P + 1.
#define PLINTH_TEXT_PAIR(P, Name)                                                  \
    void Set##Name(const wchar_t* v) override { RecordText(P, v); }                 \
    const wchar_t* Get##Name() const override { return ReadText(P); }
#define PLINTH_VALUE_PAIR(P, Name, Type)                                           \
    void Set##Name(Type v) override { Record(P, ParamValue(v)); }                   \
    Type Get##Name() const override { return Read<Type>(P); }

class CharacterFetchParam final : public ParamObject<Base::ICharacterFetchParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_TEXT_PAIR(5, CharacterId)
    PLINTH_TEXT_PAIR(7, ServerId)
};

class LogSendParam final : public ParamObject<Base::ILogSendParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, Auid, int64_t)
    PLINTH_VALUE_PAIR(7, Cuid, int64_t)
    PLINTH_TEXT_PAIR(9, MktType1)
    PLINTH_TEXT_PAIR(11, MktId1)
    PLINTH_TEXT_PAIR(13, MktType2)
    PLINTH_TEXT_PAIR(15, MktId2)
    PLINTH_TEXT_PAIR(17, GameVersion)
    PLINTH_TEXT_PAIR(19, LogGroupId)
    PLINTH_TEXT_PAIR(21, ServerCd)
    PLINTH_TEXT_PAIR(23, ServerCdDet)
    PLINTH_TEXT_PAIR(25, LvCd)
    PLINTH_TEXT_PAIR(27, LvCdDet)
    PLINTH_TEXT_PAIR(29, SessionId)
    PLINTH_TEXT_PAIR(31, Contents)
};

class ProductPageParam final : public ParamObject<Base::IProductPageParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_TEXT_PAIR(5, CategoryId)
    PLINTH_VALUE_PAIR(7, PageNumber, int32_t)
    PLINTH_VALUE_PAIR(9, PageSize, int32_t)
};

class OrderProductParam final : public ParamObject<Base::IOrderProductParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, ProductId, int64_t)
    PLINTH_VALUE_PAIR(7, SalePrice, double)
    PLINTH_VALUE_PAIR(9, Quantity, int32_t)
};

class WebviewOptionParam final : public ParamObject<Base::IWebviewOptionParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(7, X, int32_t)
    PLINTH_VALUE_PAIR(9, Y, int32_t)
    PLINTH_VALUE_PAIR(11, Width, int32_t)
    PLINTH_VALUE_PAIR(13, Height, int32_t)
    PLINTH_VALUE_PAIR(15, Operation, int32_t)
};

class StartPurchaseParam final : public ParamObject<Base::IStartPurchaseParam> {
public:
    using ParamObject::ParamObject;
    uint64_t GetOrderProductCount() const override
    {
        return Read<std::vector<const Base::IParam*>>(6).size();
    }
    void SetOrderProducts(Base::IParam* const* products, uint64_t count) override
    {
        std::vector<const Base::IParam*> list;
        if (products != nullptr) {
            list.assign(products, products + count);
        }
        Record(6, ParamValue(std::move(list)));
    }
    Base::IParam* GetOrderProduct(uint64_t index) const override
    {
        auto list = Read<std::vector<const Base::IParam*>>(6);
        return index < list.size() ? const_cast<Base::IParam*>(list[index]) : nullptr;
    }
    void SetPurchaseOption(Base::IParam* option) override
    {
        Record(8, ParamValue(static_cast<const Base::IParam*>(option)));
    }
    Base::IParam* GetPurchaseOption() const override
    {
        return const_cast<Base::IParam*>(Read<const Base::IParam*>(8));
    }
    PLINTH_TEXT_PAIR(10, ServiceTxnNo)
    PLINTH_TEXT_PAIR(12, ExtraData)
};

class PaymentOptionParam final : public ParamObject<Base::IPaymentOptionParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, Operation, int32_t)
    PLINTH_VALUE_PAIR(7, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(9, X, int32_t)
    PLINTH_VALUE_PAIR(11, Y, int32_t)
    PLINTH_VALUE_PAIR(13, Width, int32_t)
    PLINTH_VALUE_PAIR(15, Height, int32_t)
};

class WithdrawOptionParam final : public ParamObject<Base::IWithdrawOptionParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(7, X, int32_t)
    PLINTH_VALUE_PAIR(9, Y, int32_t)
    PLINTH_VALUE_PAIR(11, Width, int32_t)
    PLINTH_VALUE_PAIR(13, Height, int32_t)
};

class ConfirmPurchaseParam final : public ParamObject<Base::IConfirmPurchaseParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, TransactionMasterNumber, int64_t)
};

class PopupDisallowParam final : public ParamObject<Base::IPopupDisallowParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, PopupId, uint32_t)
    PLINTH_VALUE_PAIR(7, Days, uint32_t)
};

class PopupParam final : public ParamObject<Base::IPopupParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
};

class ManualPopupParam final : public ParamObject<Base::IManualPopupParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_TEXT_PAIR(7, Key)
};

class IdentityPopupParam final : public ParamObject<Base::IIdentityPopupParam> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(7, Flag, bool)
};

#undef PLINTH_TEXT_PAIR
#undef PLINTH_VALUE_PAIR

// Parameter objects kept alive for inspection while scripted.
struct Registry {
    std::mutex mutex;
    std::vector<Base::IParam*> objects;
    std::vector<ParamState*> states;
    Tracking tracking;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

Tracking& TheTracking() { return TheRegistry().tracking; }

void NoteRelease(const Base::IParam* object)
{
    if (!IsScripted()) {
        return;
    }
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.tracking.releaseOrder.push_back(object);
}

template <class T>
Base::IParam* Make(int32_t typeId)
{
    T* object = Sandbox::NewObject<T>(typeId);
    if (IsScripted()) {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> lock(registry.mutex);
        object->Retain();  // the registry's reference, dropped by ForgetParams
        registry.objects.push_back(object);
        registry.states.push_back(&object->State());
    }
    return object;
}

}  // namespace

Base::IParam* NewParamObject(int32_t typeId)
{
    switch (typeId) {
    case Base::kCharacterFetchParam: return Make<CharacterFetchParam>(typeId);
    case Base::kLogSendParam: return Make<LogSendParam>(typeId);
    case Base::kProductPageParam: return Make<ProductPageParam>(typeId);
    case Base::kOrderProductParam: return Make<OrderProductParam>(typeId);
    case Base::kPurchaseOptionParam:
    case Base::kTermsOptionParam: return Make<WebviewOptionParam>(typeId);
    case Base::kStartPurchaseParam: return Make<StartPurchaseParam>(typeId);
    case Base::kPaymentOptionParam: return Make<PaymentOptionParam>(typeId);
    case Base::kWithdrawOptionParam: return Make<WithdrawOptionParam>(typeId);
    case Base::kConfirmPurchaseParam: return Make<ConfirmPurchaseParam>(typeId);
    case Base::kPopupDisallowParam: return Make<PopupDisallowParam>(typeId);
    case Base::kPopupParam: return Make<PopupParam>(typeId);
    case Base::kManualPopupParam: return Make<ManualPopupParam>(typeId);
    case Base::kIdentityPopupParam: return Make<IdentityPopupParam>(typeId);
    default: return nullptr;
    }
}

std::vector<Sandbox::ParamRecord> SnapshotParams()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    std::vector<Sandbox::ParamRecord> records;
    records.reserve(registry.states.size());
    for (const ParamState* state : registry.states) {
        // The registry holds one reference of its own: it is not the module's release.
        records.push_back({state->typeId, state->object, state->calls, state->releaseCalls});
    }
    return records;
}

void ForgetParams()
{
    std::vector<Base::IParam*> objects;
    Registry& registry = TheRegistry();
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        objects.swap(registry.objects);
        registry.states.clear();
    }
    for (Base::IParam* object : objects) {
        object->Release();
    }
    std::lock_guard<std::mutex> lock(registry.mutex);
    Tracking& tracking = registry.tracking;
    tracking.keepTextPointers = false;
    tracking.baseInitializedCalls = 0;
    tracking.releaseOrder.clear();
    tracking.liveRecords.clear();
    tracking.freedAt.clear();
    tracking.recordFreeCalls.clear();
}

// --- The rest of scripted mode's records -------------------------------------------

void ReadKeptTexts(const Base::IParam* param)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (ParamState* state : registry.states) {
        if (state->object != param) {
            continue;
        }
        for (const KeptText& kept : state->keptTexts) {
            ParamValue value = TextValue(kept.pointer);
            state->calls[kept.call].value = value;
            state->values[kept.position] = std::move(value);
        }
        state->keptTexts.clear();
    }
}

void TrackCRecordMade(const TesselAPICallbackResult& record)
{
    if (!IsScripted() || record.message == nullptr) {
        return;
    }
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    Tracking& tracking = registry.tracking;
    tracking.liveRecords[record.message] = tracking.recordFreeCalls.size();
    tracking.recordFreeCalls.push_back(0);
}

void TrackCRecordFreed(const TesselAPICallbackResult* record)
{
    if (!IsScripted() || record == nullptr) {
        return;
    }
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    Tracking& tracking = registry.tracking;
    auto live = tracking.liveRecords.find(record->message);
    if (record->message != nullptr && live != tracking.liveRecords.end()) {
        ++tracking.recordFreeCalls[live->second];
        tracking.freedAt[record] = live->second;
        tracking.liveRecords.erase(live);
        return;
    }
    auto freed = tracking.freedAt.find(record);
    if (freed != tracking.freedAt.end()) {
        ++tracking.recordFreeCalls[freed->second];
    }
}

void CountBaseInitializedCall()
{
    if (IsScripted()) {
        ++TheTracking().baseInitializedCalls;
    }
}

}  // namespace plinth

namespace Tessel::PCSDK::Sandbox {

void Script::KeepTextPointers(bool keep) { plinth::TheTracking().keepTextPointers = keep; }

std::size_t Script::BaseInitializedCalls() { return plinth::TheTracking().baseInitializedCalls; }

std::vector<const Base::IParam*> Script::ReleaseOrder()
{
    plinth::Registry& registry = plinth::TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.tracking.releaseOrder;
}

std::vector<uint32_t> Script::CRecordFreeCalls()
{
    plinth::Registry& registry = plinth::TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.tracking.recordFreeCalls;
}

}  // namespace Tessel::PCSDK::Sandbox
