// Where the trace goes.
#include "trace.hpp"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "text.hpp"

namespace plinth {
namespace {

void ToStderr(const char* line, void*) { std::fprintf(stderr, "[tessel-sandbox] %s\n", line); }

struct Receiver {
    std::mutex mutex;
    TesselSandboxTraceCallback callback = nullptr;
    void* context = nullptr;
    TraceTap tap = nullptr;
    std::atomic<bool> on{false};

    Receiver()
    {
        const char* value = std::getenv("TESSEL_SANDBOX_TRACE");
        if (value != nullptr && std::strcmp(value, "1") == 0) {
            callback = &ToStderr;
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

void TraceLine(const std::string& line) noexcept
{
    Receiver& receiver = TheReceiver();
    // Lines are delivered one at a time, so a receiver sees whole lines.
    std::lock_guard<std::mutex> lock(receiver.mutex);
    if (receiver.callback != nullptr) {
        receiver.callback(line.c_str(), receiver.context);
    }
    if (receiver.tap != nullptr) {
        receiver.tap(line);
    }
}

void SetTraceReceiver(TesselSandboxTraceCallback callback, void* context) noexcept
{
    Receiver& receiver = TheReceiver();
    std::lock_guard<std::mutex> lock(receiver.mutex);
    receiver.callback = callback;
    receiver.context = context;
    receiver.on = callback != nullptr || receiver.tap != nullptr;
}

void SetTraceTap(TraceTap tap) noexcept
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

const char* ModuleName(uint32_t module)
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

struct Fields {
    std::string& line;
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

void AppendWebview(Fields fields, int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    fields.Value("webviewMode", mode).Value("x", x).Value("y", y).Value("width", width).Value("height", height);
}

// The values of a parameter object, read through its getters.
void AppendParam(std::string& line, Base::IParam* param)
{
    if (param == nullptr) {
        line += " (no parameters)";
        return;
    }
    Fields fields{line};
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
    default: line += " (parameter object of type " + std::to_string(param->GetTypeId()) + ")"; break;
    }
}

std::string Head(const char* what, uint32_t module, uint32_t operation)
{
    return std::string(what) + ' ' + ModuleName(module) + " op=" + std::to_string(operation);
}

}  // namespace

void TraceRequest(uint32_t module, uint32_t operation, const Sandbox::RequestRecord& request) noexcept
{
    try {
        std::string line = Head("request", module, operation);
        line += ' ';
        line += request.function;
        if (!request.key.empty()) {
            line += " key=";
            AppendText(line, request.key.c_str());
        }
        AppendParam(line, request.param);
        TraceLine(line);
    } catch (...) {
        // Out of memory: the line is lost, the request is not.
    }
}

void TraceAnswer(const char* what, uint32_t module, uint32_t operation, const AnswerNote& note) noexcept
{
    try {
        std::string line = Head(what, module, operation) + " result=" + std::to_string(note.code);
        if (note.listSize >= 0) {
            line += " list=" + std::to_string(note.listSize);
        }
        TraceLine(line);
    } catch (...) {
        // Out of memory: the line is lost.
    }
}

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
