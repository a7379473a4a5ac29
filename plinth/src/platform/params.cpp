// Parameter objects of every type id. Each setter stores its value and, for
// inspection in scripted mode, records (position, value) in call order. Also
// the rest of what scripted mode records (scripted.hpp).
#include <array>
#include <atomic>
#include <cwchar>
#include <variant>
#include <map>
#include <memory>
#include <mutex>

#include "platform/core.hpp"
#include "platform/scripted.hpp"
#include "platform/text.hpp"

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

// A stored value. Texts live in the object's text store; null and unset
// texts are NullText. Lists are kept by the objects that take them.
using SlotValue = std::variant<NullText, bool, int32_t, uint32_t, int64_t, uint64_t, double, const wchar_t*,
                               const Base::IParam*>;

// Copies of the texts an object received: in a buffer inside the object
// while they fit, each in an allocation of its own after that. A text stays
// where it is until the object goes, so a getter's pointer stays valid.
class TextStore {
public:
    TextStore(wchar_t* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;

    const wchar_t* Keep(const wchar_t* text)
    {
        const std::size_t size = std::wcslen(text) + 1;
        wchar_t* copy = nullptr;
        if (size <= capacity_ - used_) {
            copy = buffer_ + used_;
            used_ += size;
        } else {
            overflow_.reserve(overflow_.size() + 1);
            overflow_.emplace_back(new wchar_t[size]);
            copy = overflow_.back().get();
        }
        std::wmemcpy(copy, text, size);
        return copy;
    }

private:
    wchar_t* buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    std::vector<std::unique_ptr<wchar_t[]>> overflow_;
};

// An object's values by setter position: position P is slot (P - 5) / 2.
struct ParamState {
    ParamState(int32_t type, const Base::IParam* self, SlotValue* slotArray, std::size_t count, wchar_t* buffer,
               std::size_t capacity)
        : typeId(type), object(self), slots(slotArray), slotCount(count), texts(buffer, capacity)
    {
    }

    SlotValue* Find(int position) const
    {
        const auto slot = static_cast<std::size_t>(position - 5) / 2;
        return position >= 5 && slot < slotCount ? &slots[slot] : nullptr;
    }
    void Set(int position, const wchar_t* text)
    {
        if (SlotValue* slot = Find(position)) {
            *slot = text != nullptr ? SlotValue(texts.Keep(text)) : SlotValue(NullText{});
        }
    }

    int32_t typeId;
    const Base::IParam* object;
    SlotValue* slots;
    std::size_t slotCount;
    TextStore texts;
    // Scripted mode only: every setter call in order, and the kept texts.
    bool recording = false;
    std::vector<Sandbox::SetterCall> calls;
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
    // record last freed at each address and by its message text, to count a
    // second free on the record itself or on a copy of it.
    std::map<const wchar_t*, std::size_t> liveRecords;
    std::map<const void*, std::size_t> freedAt;
    std::map<const wchar_t*, std::size_t> freedTexts;
    std::vector<uint32_t> recordFreeCalls;
};

Tracking& TheTracking();
void NoteRelease(const Base::IParam* object);

// Slots: how many setter positions the object has; TextRoom: how many
// characters of text fit inside the object.
template <class Interface, std::size_t Slots, std::size_t TextRoom = 0>
class ParamObject : public Sandbox::Object<Interface> {
public:
    explicit ParamObject(int32_t typeId)
        : Sandbox::Object<Interface>(typeId), state_(typeId, this, slots_.data(), Slots, buffer_.data(), TextRoom)
    {
    }

    void Release() override
    {
        if (++state_.releaseCalls == 1) {
            NoteRelease(this);
        }
        Sandbox::Object<Interface>::Release();
    }
    void Clear() override { slots_.fill(SlotValue(NullText{})); }

    // Made and deleted in spare blocks (Spares.hpp): a request's object
    // lives only for its request call, and the next request's reuses it.
    static void* operator new(std::size_t size) { return tessel::rt::Spares::Take(size); }
    static void operator delete(void* block, std::size_t size) noexcept { tessel::rt::Spares::Give(block, size); }

    const ParamState& State() const { return state_; }
    ParamState& State() { return state_; }

protected:
    // Scripted mode's record of a setter call.
    void Note(int position, ParamValue value)
    {
        if (state_.recording) {
            state_.calls.push_back({position, std::move(value)});
        }
    }
    template <class T>
    void Record(int position, T value)
    {
        if (SlotValue* slot = state_.Find(position)) {
            Note(position, ParamValue(value));
            *slot = SlotValue(value);
        }
    }
    template <class T>
    const T* Find(int position) const
    {
        const SlotValue* slot = state_.Find(position);
        return slot != nullptr ? std::get_if<T>(slot) : nullptr;
    }
    template <class T>
    T Read(int position) const
    {
        const T* value = Find<T>(position);
        return value != nullptr ? *value : T{};
    }
    void RecordText(int position, const wchar_t* text)
    {
        if (state_.recording) {
            if (text != nullptr && TheTracking().keepTextPointers) {
                state_.keptTexts.push_back({state_.calls.size(), position, text});
                state_.calls.push_back({position, NullText{}});
                state_.Set(position, nullptr);
                return;
            }
            state_.calls.push_back({position, TextValue(text)});
        }
        state_.Set(position, text);
    }
    const wchar_t* ReadText(int position) const
    {
        for (auto kept = state_.keptTexts.rbegin(); kept != state_.keptTexts.rend(); ++kept) {
            if (kept->position == position) {
                return kept->pointer;
            }
        }
        const wchar_t* const* text = Find<const wchar_t*>(position);
        return text != nullptr ? *text : nullptr;
    }

private:
    std::array<SlotValue, Slots> slots_{};
    std::array<wchar_t, TextRoom> buffer_;  // filled by the text store as texts arrive
    ParamState state_;
};

// A setter at position P paired with its getter at P + 1.
#define PLINTH_TEXT_PAIR(P, Name)                                                  \
    void Set##Name(const wchar_t* v) override { RecordText(P, v); }                 \
    const wchar_t* Get##Name() const override { return ReadText(P); }
#define PLINTH_VALUE_PAIR(P, Name, Type)                                           \
    void Set##Name(Type v) override { Record(P, v); }                               \
    Type Get##Name() const override { return Read<Type>(P); }

class CharacterFetchParam final : public ParamObject<Base::ICharacterFetchParam, 2, 64> {
public:
    using ParamObject::ParamObject;
    PLINTH_TEXT_PAIR(5, CharacterId)
    PLINTH_TEXT_PAIR(7, ServerId)
};

class LogSendParam final : public ParamObject<Base::ILogSendParam, 14, 128> {
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

class ProductPageParam final : public ParamObject<Base::IProductPageParam, 3, 32> {
public:
    using ParamObject::ParamObject;
    PLINTH_TEXT_PAIR(5, CategoryId)
    PLINTH_VALUE_PAIR(7, PageNumber, int32_t)
    PLINTH_VALUE_PAIR(9, PageSize, int32_t)
};

class OrderProductParam final : public ParamObject<Base::IOrderProductParam, 3> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, ProductId, int64_t)
    PLINTH_VALUE_PAIR(7, SalePrice, double)
    PLINTH_VALUE_PAIR(9, Quantity, int32_t)
};

class WebviewOptionParam final : public ParamObject<Base::IWebviewOptionParam, 6> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(7, X, int32_t)
    PLINTH_VALUE_PAIR(9, Y, int32_t)
    PLINTH_VALUE_PAIR(11, Width, int32_t)
    PLINTH_VALUE_PAIR(13, Height, int32_t)
    PLINTH_VALUE_PAIR(15, Operation, int32_t)
};

class StartPurchaseParam final : public ParamObject<Base::IStartPurchaseParam, 4, 128> {
public:
    using ParamObject::ParamObject;
    void Clear() override
    {
        ParamObject::Clear();
        products_.clear();
    }
    uint64_t GetOrderProductCount() const override { return products_.size(); }
    void SetOrderProducts(Base::IParam* const* products, uint64_t count) override
    {
        std::vector<const Base::IParam*> list;
        if (products != nullptr) {
            list.assign(products, products + count);
        }
        if (State().recording) {
            Note(6, list);
        }
        products_ = std::move(list);
    }
    Base::IParam* GetOrderProduct(uint64_t index) const override
    {
        return index < products_.size() ? const_cast<Base::IParam*>(products_[index]) : nullptr;
    }
    void SetPurchaseOption(Base::IParam* option) override
    {
        Record(8, static_cast<const Base::IParam*>(option));
    }
    Base::IParam* GetPurchaseOption() const override
    {
        return const_cast<Base::IParam*>(Read<const Base::IParam*>(8));
    }
    PLINTH_TEXT_PAIR(10, ServiceTxnNo)
    PLINTH_TEXT_PAIR(12, ExtraData)

private:
    std::vector<const Base::IParam*> products_;
};

class PaymentOptionParam final : public ParamObject<Base::IPaymentOptionParam, 6> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, Operation, int32_t)
    PLINTH_VALUE_PAIR(7, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(9, X, int32_t)
    PLINTH_VALUE_PAIR(11, Y, int32_t)
    PLINTH_VALUE_PAIR(13, Width, int32_t)
    PLINTH_VALUE_PAIR(15, Height, int32_t)
};

class WithdrawOptionParam final : public ParamObject<Base::IWithdrawOptionParam, 5> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_VALUE_PAIR(7, X, int32_t)
    PLINTH_VALUE_PAIR(9, Y, int32_t)
    PLINTH_VALUE_PAIR(11, Width, int32_t)
    PLINTH_VALUE_PAIR(13, Height, int32_t)
};

class ConfirmPurchaseParam final : public ParamObject<Base::IConfirmPurchaseParam, 1> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, TransactionMasterNumber, int64_t)
};

class PopupDisallowParam final : public ParamObject<Base::IPopupDisallowParam, 2> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, PopupId, uint32_t)
    PLINTH_VALUE_PAIR(7, Days, uint32_t)
};

class PopupParam final : public ParamObject<Base::IPopupParam, 1> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
};

class ManualPopupParam final : public ParamObject<Base::IManualPopupParam, 2, 64> {
public:
    using ParamObject::ParamObject;
    PLINTH_VALUE_PAIR(5, WebviewMode, int32_t)
    PLINTH_TEXT_PAIR(7, Key)
};

class IdentityPopupParam final : public ParamObject<Base::IIdentityPopupParam, 2> {
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
        object->State().recording = true;
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
    tracking.freedTexts.clear();
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
            state->calls[kept.call].value = TextValue(kept.pointer);
            state->Set(kept.position, kept.pointer);
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
    tracking.freedTexts.erase(record.message);  // the allocator reused a freed text
    tracking.liveRecords[record.message] = tracking.recordFreeCalls.size();
    tracking.recordFreeCalls.push_back(0);
}

bool TrackCRecordFreed(const TesselAPICallbackResult* record)
{
    if (!IsScripted() || record == nullptr) {
        return true;
    }
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    Tracking& tracking = registry.tracking;
    if (record->message == nullptr) {
        auto freed = tracking.freedAt.find(record);
        if (freed != tracking.freedAt.end()) {
            ++tracking.recordFreeCalls[freed->second];
        }
        return true;
    }
    auto live = tracking.liveRecords.find(record->message);
    if (live != tracking.liveRecords.end()) {
        ++tracking.recordFreeCalls[live->second];
        tracking.freedAt[record] = live->second;
        tracking.freedTexts[record->message] = live->second;
        tracking.liveRecords.erase(live);
        return true;
    }
    auto stale = tracking.freedTexts.find(record->message);
    if (stale != tracking.freedTexts.end()) {
        ++tracking.recordFreeCalls[stale->second];
        return false;
    }
    return true;
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
