/**
 * @file TesselBase.hpp
 * @brief The platform's C++ value types: outcomes as the modules build them
 * (ResultCpp, CallbackResultCpp), as games receive them (Result,
 * CallbackResult), and their conversions to the C records.
 *
 * Games use Result (returned by the synchronous C++ calls) and CallbackResult
 * (handed by value to every C++ callback). Both own copies of their texts.
 */
#pragma once

#include <cstdint>
#include <string>

#include "tessel/base/TesselBase.h"

/** The SDK's C++ interfaces: the platform's value types here, each module in a namespace of its own. */
namespace Tessel::PCSDK {

/** The HTTP request behind a callback result. Always empty in this SDK: the modules do no network work of their own. */
class PLINTH_API HttpRequest {
public:
    /** An empty request: empty method and URL, status 0. */
    HttpRequest();
    /** @param method HTTP method. @param url URL. @param status HTTP status. */
    HttpRequest(std::wstring method, std::wstring url, int32_t status);

    std::wstring method; /**< HTTP method; empty in this SDK. */
    std::wstring url;    /**< URL; empty in this SDK. */
    int32_t status;      /**< HTTP status; 0 in this SDK. */
};

/**
 * An outcome as the modules build it: who produced it (a module name, empty
 * when the platform reported it), which operation, and the result code.
 */
class PLINTH_API ResultCpp {
public:
    /** Empty module name, operation code 0, result code 0. */
    ResultCpp();
    /**
     * @param moduleName Name of the module that made the result; copied.
     * @param operationCode A `TESSEL_<MODULE>_OP_*` code.
     * @param resultCode A `TESSEL_RESULT_*` code.
     */
    ResultCpp(const std::wstring& moduleName, uint32_t operationCode, uint32_t resultCode);
    /** Copies @p other. */
    ResultCpp(const ResultCpp& other);
    /** Takes over @p other. */
    ResultCpp(ResultCpp&& other) noexcept;
    /** Copies @p other. @return This object. */
    ResultCpp& operator=(const ResultCpp& other);
    /** Takes over @p other. @return This object. */
    ResultCpp& operator=(ResultCpp&& other) noexcept;
    /** Frees the module name. */
    ~ResultCpp();

    /** @return The `TESSEL_RESULT_*` code. */
    uint32_t GetResultCode() const;
    /** @return The operation code. */
    uint32_t GetOperationCode() const;
    /** @return The module name, owned by this object. */
    const std::wstring& GetModuleName() const;
    /** @return True when the result code is #TESSEL_RESULT_SUCCESS. */
    bool IsSuccess() const;

private:
    std::wstring moduleName_;
    uint32_t operationCode_;
    uint32_t resultCode_;
};

/** An outcome as the modules build it for a callback. */
struct PLINTH_API CallbackResultCpp {
    /** Default outcome: default result, empty message, value 0, empty request. */
    CallbackResultCpp();
    /** Copies @p other. */
    CallbackResultCpp(const CallbackResultCpp& other);
    /** Takes over @p other. */
    CallbackResultCpp(CallbackResultCpp&& other) noexcept;
    /** Copies @p other. @return This object. */
    CallbackResultCpp& operator=(const CallbackResultCpp& other);
    /** Takes over @p other. @return This object. */
    CallbackResultCpp& operator=(CallbackResultCpp&& other) noexcept;
    /** Frees the texts. */
    ~CallbackResultCpp();

    ResultCpp result;     /**< Module name, operation code and result code. */
    std::wstring message; /**< Human-readable message; may be empty. */
    int32_t value;        /**< A 32-bit value reported with the outcome; 0 unless a request says otherwise. */
    HttpRequest request;  /**< The HTTP request behind it; always empty in this SDK. */
};

/**
 * The result a game receives from a synchronous C++ call (initialization
 * family, version, close all popups). Owns a copy of its texts.
 */
class PLINTH_API Result {
public:
    /** A default result: code 0, operation 0, empty module name. */
    Result();
    /** Copies @p result; null gives the default result. @param result Read during the call only. */
    explicit Result(const ResultCpp* result);
    /** Copies @p other. */
    Result(const Result& other);
    /** Copies @p other. @return This object. */
    Result& operator=(const Result& other);
    /** Frees the texts. */
    ~Result();

    /** @return The `TESSEL_RESULT_*` code. */
    uint32_t GetResultCode() const;
    /** @return The operation code (0 for the initialization family and version). */
    uint32_t GetOperationCode() const;
    /** @return The name of the module whose call made it ("Vendra", ...); never null, valid as long as this object. */
    const wchar_t* GetModuleName() const;
    /** @return True when the result code is #TESSEL_RESULT_SUCCESS. */
    bool IsSuccess() const;

private:
    ResultCpp result_;
};

/**
 * The outcome a game's C++ callback receives, by value: the callback owns its
 * copy and may keep it. The texts it returns live as long as the object.
 */
class PLINTH_API CallbackResult {
public:
    /** A default outcome: code 0, empty texts. */
    CallbackResult();
    /** Copies @p result; null gives the default outcome. @param result Read during the call only. */
    explicit CallbackResult(const CallbackResultCpp* result);
    /** Copies @p other. */
    CallbackResult(const CallbackResult& other);
    /** Copies @p other. @return This object. */
    CallbackResult& operator=(const CallbackResult& other);
    /** Frees the texts. */
    ~CallbackResult();

    /** @return The `TESSEL_RESULT_*` code; Tessel_ResultCodeName() names it. */
    uint32_t GetResultCode() const;
    /** @return The request's `TESSEL_<MODULE>_OP_*` operation code. */
    uint32_t GetOperationCode() const;
    /** @return The name of the module that made the outcome itself (e.g. "Ludex" in a not-initialized answer); empty when the platform reported it. Never null. */
    const wchar_t* GetModuleName() const;
    /** @return The message (never null; may be empty). */
    const wchar_t* GetMessageText() const;
    /** @return The 32-bit value reported with the outcome. */
    int32_t GetValue() const;
    /** @return The HTTP method; always empty in this SDK. */
    const wchar_t* GetRequestMethod() const;
    /** @return The request URL; always empty in this SDK. */
    const wchar_t* GetRequestUrl() const;
    /** @return The HTTP status; always 0 in this SDK. */
    int32_t GetHttpStatus() const;
    /** @return True when the result code is #TESSEL_RESULT_SUCCESS. */
    bool IsSuccess() const;

private:
    CallbackResultCpp result_;
};

/** The platform's own types shared by the modules. */
namespace Base {

/** How the platform shows a web page; the values of #TesselWebViewMode. */
enum class WebViewMode : int32_t {
    EMBEDDED = 0, /**< Inside the game's window. */
    WINDOWED = 1, /**< In a window of its own. */
};

/** Conversions of the C++ outcomes to the C records. */
class PLINTH_API BaseStructUtils {
public:
    /** @param result Read during the call only. @return A plain copy; nothing to free. */
    static TesselAPIResult ToCStruct(const ResultCpp& result);
    /**
     * @param result Read during the call only.
     * @return A record whose texts are allocated: release them with FreeCStruct().
     *         Its texts are never null. TesselAPICallbackResult::userContext is left
     *         null for the caller to fill.
     * @throws std::bad_alloc when a text that is not empty cannot be copied (nothing
     *         is left to free then); a record whose texts are all empty is always made.
     */
    static TesselAPICallbackResult ToCStruct(const CallbackResultCpp& result);
    /** Frees what ToCStruct() allocated and nulls the texts; safe to call twice. @param record May be null. */
    static void FreeCStruct(TesselAPICallbackResult* record);
};

}  // namespace Base
}  // namespace Tessel::PCSDK
