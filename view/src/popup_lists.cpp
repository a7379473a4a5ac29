// Panora: popup lists for C callers. The platform offers them to C++ code
// through a std::function; each C function wraps the caller's callback in
// one, and the wrapper turns what the platform delivers into C records that
// live only while the callback runs.
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "PopupRecords.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace Base = Tessel::PCSDK::Base;
namespace View = Tessel::PCSDK::View;
using Tessel::PCSDK::CallbackResultCpp;

namespace {

using panora::kPanora;

// The popups handed to a callback: an array of C records, null when the list
// is empty. Throws std::bad_alloc, having freed what it made, when the array
// or a record cannot be made.
class PopupArray {
public:
    explicit PopupArray(const std::vector<View::TesselPCPopupCpp>& popups)
    {
        const auto size = static_cast<unsigned int>(popups.size());
        if (size == 0) {
            return;
        }
        popups_ = static_cast<TesselPopup*>(std::calloc(size, sizeof(TesselPopup)));
        if (popups_ == nullptr) {
            throw std::bad_alloc();
        }
        try {
            for (unsigned int i = 0; i < size; ++i) {
                popups_[i] = panora::PopupToC(popups[i]);
                count_ = i + 1;
            }
        } catch (...) {
            Free();
            throw;
        }
    }
    PopupArray(const PopupArray&) = delete;
    PopupArray& operator=(const PopupArray&) = delete;
    ~PopupArray() { Free(); }

    TesselPopup* data() const { return popups_; }
    unsigned int count() const { return count_; }

private:
    void Free() noexcept
    {
        for (unsigned int i = 0; i < count_; ++i) {
            panora::FreePopup(&popups_[i]);
        }
        std::free(popups_);
        popups_ = nullptr;
        count_ = 0;
    }

    TesselPopup* popups_ = nullptr;
    unsigned int count_ = 0;
};

struct RequestData {
    explicit RequestData(const View::TesselPCPopupRequestDataCpp& data) : record(panora::RequestDataToC(data)) {}
    RequestData(const RequestData&) = delete;
    RequestData& operator=(const RequestData&) = delete;
    ~RequestData() { panora::FreeRequestData(&record); }

    TesselPopupRequestData record;
};

struct CResultRecord {
    explicit CResultRecord(const CallbackResultCpp& result) : record(Base::BaseStructUtils::ToCStruct(result))
    {
        record.userContext = nullptr;
    }
    CResultRecord(const CResultRecord&) = delete;
    CResultRecord& operator=(const CResultRecord&) = delete;
    ~CResultRecord() { Base::BaseStructUtils::FreeCStruct(&record); }

    TesselAPICallbackResult record;
};

// Converts and calls the caller. After the callback the popups are freed,
// then the request data, then the C result.
void CallWithRecords(TesselPopupFetchCallback callback, const CallbackResultCpp& result,
                     const std::vector<View::TesselPCPopupCpp>& popups, const View::TesselPCPopupRequestDataCpp& data)
{
    CResultRecord record(result);
    RequestData requestData(data);
    PopupArray array(popups);
    struct Entered {
        ~Entered() { tessel::rt::ExchangeCallbackEntered(true); }
    } entered;
    callback(&record.record, array.data(), array.count(), &requestData.record);
}

// An answer the module makes itself (out of memory): no popups, no pairs.
void AnswerEmpty(TesselPopupFetchCallback callback, const CallbackResultCpp& answer)
{
    CallWithRecords(callback, answer, {}, {});
}

// The one conversion body of the four fetches. A conversion that fails
// before the callback answers it once with code 22 and no popups.
void DeliverList(TesselPopupFetchCallback callback, CallbackResultCpp resultIn,
                 std::vector<View::TesselPCPopupCpp> popupsIn, View::TesselPCPopupRequestDataCpp dataIn) noexcept
{
    const uint32_t operationCode = resultIn.result.GetOperationCode();
    tessel::rt::DeliverOnce(
        kPanora, operationCode,
        [&] {
            const CallbackResultCpp result = std::move(resultIn);
            const std::vector<View::TesselPCPopupCpp> popups = std::move(popupsIn);
            const View::TesselPCPopupRequestDataCpp data = std::move(dataIn);
            CallWithRecords(callback, result, popups, data);
        },
        [&](const CallbackResultCpp& answer) { AnswerEmpty(callback, answer); });
}

// The caller's callback as the queued answer job carries it.
struct FetchReply {
    TesselPopupFetchCallback callback = nullptr;
    explicit operator bool() const noexcept { return callback != nullptr; }
};

// Hands the platform the wrapped callback, Panora pinned first: the platform
// runs or destroys it later, whatever Panora's state. When the wrapper cannot
// be made or handed over (out of memory), the callback hears code 22 from
// the platform's queue instead, never inside this call.
template <class Fetch>
void RequestList(uint32_t operationCode, TesselPopupFetchCallback callback, Fetch&& fetch) noexcept
{
    try {
        if (callback == nullptr) {
            fetch(View::PopupFetchCallback());
            return;
        }
        tessel::rt::HandOver([&] {
            fetch(View::PopupFetchCallback([callback](CallbackResultCpp result,
                                                      std::vector<View::TesselPCPopupCpp> popups,
                                                      View::TesselPCPopupRequestDataCpp data) {
                DeliverList(callback, std::move(result), std::move(popups), std::move(data));
            }));
        });
    } catch (...) {
        if (callback != nullptr) {
            try {
                tessel::rt::QueueAnswer(kPanora, operationCode, tessel::rt::kOutOfMemory, FetchReply{callback},
                                        [](const FetchReply& reply, const CallbackResultCpp& answer) {
                                            AnswerEmpty(reply.callback, answer);
                                        });
            } catch (...) {
                // Not even the queue's job could be made: nobody is told.
            }
        }
    }
}

}  // namespace

extern "C" {

void TesselAPI_FetchAutoPopup(TesselPopupFetchCallback callback)
{
    RequestList(TESSEL_PANORA_OP_FETCH_AUTO_POPUPS, callback,
                [](View::PopupFetchCallback wrapped) { View::TesselAPI_FetchAutoPopupCpp(std::move(wrapped)); });
}

// A null key is sent as the empty key, as the manual popup request does.
void TesselAPI_FetchManualPopup(const wchar_t* key, TesselPopupFetchCallback callback)
{
    RequestList(TESSEL_PANORA_OP_FETCH_MANUAL_POPUPS, callback, [key](View::PopupFetchCallback wrapped) {
        const std::wstring keyText = key != nullptr ? key : L"";
        View::TesselAPI_FetchManualPopupCpp(keyText, std::move(wrapped));
    });
}

void TesselAPI_FetchNewsPopup(TesselPopupFetchCallback callback)
{
    RequestList(TESSEL_PANORA_OP_FETCH_NEWS_POPUPS, callback,
                [](View::PopupFetchCallback wrapped) { View::TesselAPI_FetchNewsPopupCpp(std::move(wrapped)); });
}

void TesselAPI_FetchCouponPopup(TesselPopupFetchCallback callback)
{
    RequestList(TESSEL_PANORA_OP_FETCH_COUPON_POPUPS, callback,
                [](View::PopupFetchCallback wrapped) { View::TesselAPI_FetchCouponPopupCpp(std::move(wrapped)); });
}

}  // extern "C"
