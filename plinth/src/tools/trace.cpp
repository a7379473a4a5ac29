// Where the trace goes.
#include "tools/trace.hpp"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>

#include "platform/text.hpp"

namespace plinth {
namespace {

void ToStderr(const char* line, void*) { std::fprintf(stderr, "[tessel-sandbox] %s\n", line); }

struct Receiver {
    std::mutex mutex;
    TesselSandboxTraceCallback callback = nullptr;
    void* context = nullptr;
    std::atomic<bool> hasCallback{false};  // read without the lock by the request lines
    std::atomic<const TraceTap*> tap{nullptr};
    std::atomic<bool> on{false};

    Receiver()
    {
        const char* value = std::getenv("TESSEL_SANDBOX_TRACE");
        if (value != nullptr && std::strcmp(value, "1") == 0) {
            callback = &ToStderr;
            hasCallback = true;
            on = true;
        }
    }
};

Receiver& TheReceiver()
{
    static Receiver receiver;
    return receiver;
}

}  // namespace

bool TraceOn() noexcept { return TheReceiver().on.load(std::memory_order_relaxed); }

namespace {

// The receiver's line alone.
void ToReceiver(const std::string& line) noexcept
{
    Receiver& receiver = TheReceiver();
    // Lines are delivered one at a time, so a receiver sees whole lines.
    std::lock_guard<std::mutex> lock(receiver.mutex);
    if (receiver.callback != nullptr) {
        receiver.callback(line.c_str(), receiver.context);
    }
}

bool HasReceiver() noexcept { return TheReceiver().hasCallback.load(std::memory_order_relaxed); }
const TraceTap* Tap() noexcept { return TheReceiver().tap.load(std::memory_order_acquire); }

}  // namespace

void TraceLine(const std::string& line) noexcept
{
    ToReceiver(line);
    if (const TraceTap* tap = Tap()) {
        tap->line(line);
    }
}

void SetTraceReceiver(TesselSandboxTraceCallback callback, void* context) noexcept
{
    Receiver& receiver = TheReceiver();
    std::lock_guard<std::mutex> lock(receiver.mutex);
    receiver.callback = callback;
    receiver.context = context;
    receiver.hasCallback = callback != nullptr;
    receiver.on = callback != nullptr || receiver.tap.load() != nullptr;
}

void SetTraceTap(const TraceTap* tap) noexcept
{
    Receiver& receiver = TheReceiver();
    std::lock_guard<std::mutex> lock(receiver.mutex);
    receiver.tap = tap;
    receiver.on = receiver.callback != nullptr || tap != nullptr;
}

}  // namespace plinth

// --- The lines ---------------------------------------------------------------

namespace plinth {
namespace {

const char* ModuleName(uint32_t module) noexcept
{
    switch (module) {
    case TESSEL_SANDBOX_MODULE_VENDRA: return "Vendra";
    case TESSEL_SANDBOX_MODULE_PANORA: return "Panora";
    case TESSEL_SANDBOX_MODULE_SCRIVO: return "Scrivo";
    case TESSEL_SANDBOX_MODULE_LUDEX: return "Ludex";
    default: return "Plinth";
    }
}

// Wide text as UTF-8, quoted; null as null.
void AppendText(std::string& line, const wchar_t* text)
{
    if (text == nullptr) {
        line += "null";
        return;
    }
    line += '"';
    for (const char c : Utf8(std::wstring_view(text))) {
        if (c == '"' || c == '\\') {
            line += '\\';
        }
        line += c;
    }
    line += '"';
}

// The sink of the trace's lines: fields written out at once.
struct Fields {
    std::string& line;
    void Note(const char* note, int32_t typeId)
    {
        if (note != nullptr) {
            line += note;
        } else {
            line += " (parameter object of type " + std::to_string(typeId) + ")";
        }
    }
    Fields& Text(const char* name, const wchar_t* value)
    {
        line += ' ';
        line += name;
        line += '=';
        AppendText(line, value);
        return *this;
    }
    template <class Number>
    Fields& Value(const char* name, Number value)
    {
        line += ' ';
        line += name;
        line += '=';
        line += std::to_string(value);
        return *this;
    }
};

// The sink of the timeline: fields copied raw, written out later.
struct Recorder {
    RawFields& raw;
    void Note(const char* note, int32_t typeId) noexcept
    {
        raw.note = note;
        raw.typeId = typeId;
    }
    RawFields::Field* Next(const char* name, RawFields::Kind kind) noexcept
    {
        if (raw.count == RawFields::kFields) {
            raw.truncated = true;
            return nullptr;
        }
        RawFields::Field& field = raw.fields[raw.count++];
        field = {name, kind, 0, 0, 0};
        return &field;
    }
    Recorder& Text(const char* name, const wchar_t* value) noexcept
    {
        if (RawFields::Field* field = Next(name, value != nullptr ? RawFields::Kind::Chars : RawFields::Kind::Null)) {
            if (value != nullptr) {
                const std::size_t room = RawFields::kTextRoom - raw.used;
                std::size_t length = 0;
                while (value[length] != L'\0' && length < room) {
                    ++length;
                }
                raw.truncated = raw.truncated || value[length] != L'\0';
                std::copy(value, value + length, raw.text + raw.used);
                field->start = raw.used;
                field->length = static_cast<uint16_t>(length);
                raw.used = static_cast<uint16_t>(raw.used + length);
            }
        }
        return *this;
    }
    template <class Number>
    Recorder& Value(const char* name, Number value) noexcept
    {
        const bool isUnsigned = std::is_unsigned_v<Number> && !std::is_same_v<Number, bool>;
        if (RawFields::Field* field = Next(name, isUnsigned ? RawFields::Kind::Unsigned : RawFields::Kind::Signed)) {
            field->number = static_cast<int64_t>(value);
        }
        return *this;
    }
};

template <class Sink>
void AppendWebview(Sink fields, int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    fields.Value("webviewMode", mode).Value("x", x).Value("y", y).Value("width", width).Value("height", height);
}

// The values of a parameter object, read through its getters.
template <class Sink>
void VisitParam(Sink& fields, Base::IParam* param)
{
    if (param == nullptr) {
        fields.Note(" (no parameters)", 0);
        return;
    }
    switch (param->GetTypeId()) {
    case Base::kCharacterFetchParam: {
        auto* p = static_cast<Base::ICharacterFetchParam*>(param);
        fields.Text("characterId", p->GetCharacterId()).Text("serverId", p->GetServerId());
        break;
    }
    case Base::kLogSendParam: {
        auto* p = static_cast<Base::ILogSendParam*>(param);
        fields.Value("auid", p->GetAuid()).Value("cuid", p->GetCuid());
        fields.Text("mktType1", p->GetMktType1()).Text("mktId1", p->GetMktId1());
        fields.Text("mktType2", p->GetMktType2()).Text("mktId2", p->GetMktId2());
        fields.Text("gameVersion", p->GetGameVersion()).Text("logGroupId", p->GetLogGroupId());
        fields.Text("serverCd", p->GetServerCd()).Text("serverCdDet", p->GetServerCdDet());
        fields.Text("lvCd", p->GetLvCd()).Text("lvCdDet", p->GetLvCdDet());
        fields.Text("sessionId", p->GetSessionId()).Text("contents", p->GetContents());
        break;
    }
    case Base::kProductPageParam: {
        auto* p = static_cast<Base::IProductPageParam*>(param);
        fields.Text("categoryId", p->GetCategoryId())
            .Value("pageNumber", p->GetPageNumber())
            .Value("pageSize", p->GetPageSize());
        break;
    }
    case Base::kStartPurchaseParam: {
        auto* p = static_cast<Base::IStartPurchaseParam*>(param);
        for (uint64_t i = 0; i < p->GetOrderProductCount(); ++i) {
            if (auto* product = static_cast<Base::IOrderProductParam*>(p->GetOrderProduct(i))) {
                fields.Value("productId", product->GetProductId())
                    .Value("salePrice", product->GetSalePrice())
                    .Value("quantity", product->GetQuantity());
            }
        }
        fields.Text("serviceTxnNo", p->GetServiceTxnNo()).Text("extraData", p->GetExtraData());
        break;
    }
    case Base::kPurchaseOptionParam:
    case Base::kTermsOptionParam: {
        auto* p = static_cast<Base::IWebviewOptionParam*>(param);
        AppendWebview(fields, p->GetWebviewMode(), p->GetX(), p->GetY(), p->GetWidth(), p->GetHeight());
        fields.Value("operation", p->GetOperation());
        break;
    }
    case Base::kPaymentOptionParam: {
        auto* p = static_cast<Base::IPaymentOptionParam*>(param);
        fields.Value("operation", p->GetOperation());
        AppendWebview(fields, p->GetWebviewMode(), p->GetX(), p->GetY(), p->GetWidth(), p->GetHeight());
        break;
    }
    case Base::kWithdrawOptionParam: {
        auto* p = static_cast<Base::IWithdrawOptionParam*>(param);
        AppendWebview(fields, p->GetWebviewMode(), p->GetX(), p->GetY(), p->GetWidth(), p->GetHeight());
        break;
    }
    case Base::kConfirmPurchaseParam:
        fields.Value("transactionMasterNumber",
                     static_cast<Base::IConfirmPurchaseParam*>(param)->GetTransactionMasterNumber());
        break;
    case Base::kPopupDisallowParam: {
        auto* p = static_cast<Base::IPopupDisallowParam*>(param);
        fields.Value("popupId", p->GetPopupId()).Value("days", p->GetDays());
        break;
    }
    case Base::kPopupParam:
        fields.Value("webviewMode", static_cast<Base::IPopupParam*>(param)->GetWebviewMode());
        break;
    case Base::kManualPopupParam: {
        auto* p = static_cast<Base::IManualPopupParam*>(param);
        fields.Value("webviewMode", p->GetWebviewMode()).Text("key", p->GetKey());
        break;
    }
    case Base::kIdentityPopupParam: {
        auto* p = static_cast<Base::IIdentityPopupParam*>(param);
        fields.Value("webviewMode", p->GetWebviewMode()).Value("flag", p->GetFlag() ? 1 : 0);
        break;
    }
    default: fields.Note(nullptr, param->GetTypeId()); break;
    }
}

std::string Head(const char* what, uint32_t module, uint32_t operation)
{
    return std::string(what) + ' ' + ModuleName(module) + " op=" + std::to_string(operation);
}

void RequestLine(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept
{
    try {
        std::string line = Head("request", module, operation);
        line += ' ';
        line += request.function;
        Fields fields{line};
        if (!request.key.empty()) {
            fields.Text("key", request.key.c_str());
        }
        VisitParam(fields, request.param);
        ToReceiver(line);
    } catch (...) {
        // Out of memory: the line is lost, the request is not.
    }
}

void AnswerLine(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept
{
    try {
        std::string line = Head(what, module, operation) + " result=" + std::to_string(note.code);
        if (note.listSize >= 0) {
            line += " list=" + std::to_string(note.listSize);
        }
        ToReceiver(line);
    } catch (...) {
        // Out of memory: the line is lost.
    }
}

}  // namespace

void TraceRequest(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept
{
    if (HasReceiver()) {
        RequestLine(module, operation, request);
    }
    if (const TraceTap* tap = Tap()) {
        tap->request(module, operation, request);
    }
}

void TraceAnswer(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept
{
    if (HasReceiver()) {
        AnswerLine(what, module, operation, note);
    }
    if (const TraceTap* tap = Tap()) {
        tap->answer(what, module, operation, note);
    }
}

void RecordFields(RawFields& raw, const Sandbox::RequestRecord& request) noexcept
{
    raw.note = nullptr;
    raw.typeId = 0;
    raw.count = 0;
    raw.used = 0;
    raw.truncated = false;
    Recorder recorder{raw};
    try {
        if (!request.key.empty()) {
            recorder.Text("key", request.key.c_str());
        }
        VisitParam(recorder, request.param);
    } catch (...) {
        // A getter let something out: what was read is kept.
    }
}

void AppendFields(std::string& line, const RawFields& raw)
{
    Fields fields{line};
    for (std::size_t i = 0; i < raw.count; ++i) {
        const RawFields::Field& field = raw.fields[i];
        switch (field.kind) {
        case RawFields::Kind::Chars: {
            const std::wstring text(raw.text + field.start, field.length);
            fields.Text(field.name, text.c_str());
            break;
        }
        case RawFields::Kind::Null: fields.Text(field.name, nullptr); break;
        case RawFields::Kind::Signed: fields.Value(field.name, field.number); break;
        case RawFields::Kind::Unsigned: fields.Value(field.name, static_cast<uint64_t>(field.number)); break;
        }
    }
    if (raw.note != nullptr || raw.typeId != 0) {
        fields.Note(raw.note, raw.typeId);
    }
    if (raw.truncated) {
        line += " ...";
    }
}

const char* TraceModuleName(uint32_t module) noexcept { return ModuleName(module); }

void TracePopup(const char* what, uint64_t id, const std::wstring& kind, uint32_t operation) noexcept
{
    try {
        std::string line = std::string("popup ") + what + " id=" + std::to_string(id) + " kind=";
        AppendText(line, kind.c_str());
        line += " op=" + std::to_string(operation);
        TraceLine(line);
    } catch (...) {
        // Out of memory: the line is lost.
    }
}

}  // namespace plinth
