// The platform's outcome value types and their C forms.
#include <cstdlib>
#include <cwchar>
#include <new>
#include <utility>

#include "tessel/base/TesselBase.hpp"
#include "platform/scripted.hpp"
#include "platform/text.hpp"

namespace Tessel::PCSDK {

HttpRequest::HttpRequest() : status(0) {}
HttpRequest::HttpRequest(std::wstring m, std::wstring u, int32_t s)
    : method(std::move(m)), url(std::move(u)), status(s)
{
}

ResultCpp::ResultCpp() : operationCode_(0), resultCode_(0) {}
ResultCpp::ResultCpp(const std::wstring& moduleName, uint32_t operationCode, uint32_t resultCode)
    : moduleName_(moduleName), operationCode_(operationCode), resultCode_(resultCode)
{
}
ResultCpp::ResultCpp(const ResultCpp& other) = default;
ResultCpp::ResultCpp(ResultCpp&& other) noexcept = default;
ResultCpp& ResultCpp::operator=(const ResultCpp& other) = default;
ResultCpp& ResultCpp::operator=(ResultCpp&& other) noexcept = default;
ResultCpp::~ResultCpp() = default;
uint32_t ResultCpp::GetResultCode() const { return resultCode_; }
uint32_t ResultCpp::GetOperationCode() const { return operationCode_; }
const std::wstring& ResultCpp::GetModuleName() const { return moduleName_; }
bool ResultCpp::IsSuccess() const { return resultCode_ == TESSEL_RESULT_SUCCESS; }

CallbackResultCpp::CallbackResultCpp() : value(0) {}
CallbackResultCpp::CallbackResultCpp(const CallbackResultCpp& other) = default;
CallbackResultCpp::CallbackResultCpp(CallbackResultCpp&& other) noexcept = default;
CallbackResultCpp& CallbackResultCpp::operator=(const CallbackResultCpp& other) = default;
CallbackResultCpp& CallbackResultCpp::operator=(CallbackResultCpp&& other) noexcept = default;
CallbackResultCpp::~CallbackResultCpp() = default;

Result::Result() = default;
Result::Result(const ResultCpp* result) : result_(result != nullptr ? *result : ResultCpp()) {}
Result::Result(const Result& other) = default;
Result& Result::operator=(const Result& other) = default;
Result::~Result() = default;
uint32_t Result::GetResultCode() const { return result_.GetResultCode(); }
uint32_t Result::GetOperationCode() const { return result_.GetOperationCode(); }
const wchar_t* Result::GetModuleName() const { return result_.GetModuleName().c_str(); }
bool Result::IsSuccess() const { return result_.IsSuccess(); }

CallbackResult::CallbackResult() = default;
CallbackResult::CallbackResult(const CallbackResultCpp* result)
    : result_(result != nullptr ? *result : CallbackResultCpp())
{
}
CallbackResult::CallbackResult(const CallbackResult& other) = default;
CallbackResult& CallbackResult::operator=(const CallbackResult& other) = default;
CallbackResult::~CallbackResult() = default;
uint32_t CallbackResult::GetResultCode() const { return result_.result.GetResultCode(); }
uint32_t CallbackResult::GetOperationCode() const { return result_.result.GetOperationCode(); }
const wchar_t* CallbackResult::GetModuleName() const { return result_.result.GetModuleName().c_str(); }
const wchar_t* CallbackResult::GetMessageText() const { return result_.message.c_str(); }
int32_t CallbackResult::GetValue() const { return result_.value; }
const wchar_t* CallbackResult::GetRequestMethod() const { return result_.request.method.c_str(); }
const wchar_t* CallbackResult::GetRequestUrl() const { return result_.request.url.c_str(); }
int32_t CallbackResult::GetHttpStatus() const { return result_.request.status; }
bool CallbackResult::IsSuccess() const { return result_.result.IsSuccess(); }

namespace Base {
namespace {

// Where a record's text is empty and no copy of its own could be made (the
// request texts, always empty in this SDK, never get one): it is not freed.
const wchar_t kEmptyText[] = L"";

// A copy of text for a record: never null. An empty text that cannot be
// copied becomes kEmptyText; a longer one throws std::bad_alloc, so that a
// record never silently loses a text.
const wchar_t* RecordText(const std::wstring& text, bool ownEmptyCopy)
{
    if (text.empty() && !ownEmptyCopy) {
        return kEmptyText;
    }
    const wchar_t* copy = plinth::DuplicateText(text);
    if (copy == nullptr) {
        if (!text.empty()) {
            throw std::bad_alloc();
        }
        copy = kEmptyText;
    }
    return copy;
}

void FreeRecordText(const wchar_t*& text) noexcept
{
    if (text != kEmptyText) {
        std::free(const_cast<wchar_t*>(text));
    }
    text = nullptr;
}

}  // namespace

TesselAPIResult BaseStructUtils::ToCStruct(const ResultCpp& result)
{
    TesselAPIResult record{};
    record.operationCode = result.GetOperationCode();
    record.resultCode = result.GetResultCode();
    const std::wstring& name = result.GetModuleName();
    const std::size_t length = name.size() < TESSEL_MODULE_NAME_CAPACITY - 1
                                   ? name.size()
                                   : std::size_t{TESSEL_MODULE_NAME_CAPACITY - 1};
    std::wmemcpy(record.moduleName, name.c_str(), length);
    record.moduleName[length] = L'\0';
    return record;
}

TesselAPICallbackResult BaseStructUtils::ToCStruct(const CallbackResultCpp& result)
{
    TesselAPICallbackResult record{};
    record.result = ToCStruct(result.result);
    record.value = result.value;
    record.httpStatus = result.request.status;
    record.userContext = nullptr;
    // Every message gets a copy of its own (scripted mode tells records
    // apart by it); what was copied is freed again when a later text fails.
    record.message = RecordText(result.message, true);
    try {
        record.requestMethod = RecordText(result.request.method, false);
        record.requestUrl = RecordText(result.request.url, false);
        plinth::TrackCRecordMade(record);
    } catch (...) {
        FreeRecordText(record.message);
        FreeRecordText(record.requestMethod);
        FreeRecordText(record.requestUrl);
        throw;
    }
    return record;
}

void BaseStructUtils::FreeCStruct(TesselAPICallbackResult* record)
{
    if (record == nullptr) {
        return;
    }
    const bool ownTexts = plinth::TrackCRecordFreed(record);
    for (const wchar_t** text : {&record->message, &record->requestMethod, &record->requestUrl}) {
        if (ownTexts) {
            FreeRecordText(*text);
        }
        *text = nullptr;
    }
}

}  // namespace Base
}  // namespace Tessel::PCSDK
