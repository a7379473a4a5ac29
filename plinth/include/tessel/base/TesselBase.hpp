// The base library's C++ value types: outcomes as the modules build them
// (ResultCpp, CallbackResultCpp), as games receive them (Result,
// CallbackResult), and their conversions to the C records.
#pragma once

#include <cstdint>
#include <string>

#include "tessel/base/TesselBase.h"

namespace Tessel::PCSDK {

// The request behind a callback result, as far as the platform reports it.
class PLINTH_API HttpRequest {
public:
    HttpRequest();
    HttpRequest(std::wstring method, std::wstring url, int32_t status);

    std::wstring method;
    std::wstring url;
    int32_t status;
};

// An outcome: who produced it (a module name, empty when it came from the
// platform), which operation, and the result code.
class PLINTH_API ResultCpp {
public:
    ResultCpp();
    ResultCpp(const std::wstring& moduleName, uint32_t operationCode, uint32_t resultCode);
    ResultCpp(const ResultCpp& other);
    ResultCpp(ResultCpp&& other) noexcept;
    ResultCpp& operator=(const ResultCpp& other);
    ResultCpp& operator=(ResultCpp&& other) noexcept;
    ~ResultCpp();

    uint32_t GetResultCode() const;
    uint32_t GetOperationCode() const;
    const std::wstring& GetModuleName() const;
    bool IsSuccess() const;

private:
    std::wstring moduleName_;
    uint32_t operationCode_;
    uint32_t resultCode_;
};

// An outcome delivered to a callback.
struct PLINTH_API CallbackResultCpp {
    CallbackResultCpp();
    CallbackResultCpp(const CallbackResultCpp& other);
    CallbackResultCpp(CallbackResultCpp&& other) noexcept;
    CallbackResultCpp& operator=(const CallbackResultCpp& other);
    CallbackResultCpp& operator=(CallbackResultCpp&& other) noexcept;
    ~CallbackResultCpp();

    ResultCpp result;
    std::wstring message;
    int32_t value;
    HttpRequest request;
};

// The result a game receives from a synchronous C++ call.
class PLINTH_API Result {
public:
    Result();
    explicit Result(const ResultCpp* result);
    Result(const Result& other);
    Result& operator=(const Result& other);
    ~Result();

    uint32_t GetResultCode() const;
    uint32_t GetOperationCode() const;
    const wchar_t* GetModuleName() const;
    bool IsSuccess() const;

private:
    ResultCpp result_;
};

// The result a game's C++ callback receives, by value.
class PLINTH_API CallbackResult {
public:
    CallbackResult();
    explicit CallbackResult(const CallbackResultCpp* result);
    CallbackResult(const CallbackResult& other);
    CallbackResult& operator=(const CallbackResult& other);
    ~CallbackResult();

    uint32_t GetResultCode() const;
    uint32_t GetOperationCode() const;
    const wchar_t* GetModuleName() const;
    const wchar_t* GetMessageText() const;
    int32_t GetValue() const;
    const wchar_t* GetRequestMethod() const;
    const wchar_t* GetRequestUrl() const;
    int32_t GetHttpStatus() const;
    bool IsSuccess() const;

private:
    CallbackResultCpp result_;
};

namespace Base {

enum class WebViewMode : int32_t {
    EMBEDDED = 0,
    WINDOWED = 1,
};

class PLINTH_API BaseStructUtils {
public:
    // A plain copy; nothing to free.
    static TesselAPIResult ToCStruct(const ResultCpp& result);
    // Allocates the texts of the record; release them with FreeCStruct.
    // userContext is left null for the caller to fill.
    static TesselAPICallbackResult ToCStruct(const CallbackResultCpp& result);
    // Frees what ToCStruct allocated and nulls the texts. Safe to call twice.
    static void FreeCStruct(TesselAPICallbackResult* record);
};

}  // namespace Base
}  // namespace Tessel::PCSDK
