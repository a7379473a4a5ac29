// Panora: popup lists for C callers. The platform offers them to C++ code
// through a std::function; each C function wraps the caller's callback in
// one, and the wrapper turns what the platform delivers into C records that
// live only while the callback runs.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PopupRecords.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace Base = Tessel::PCSDK::Base;
namespace View = Tessel::PCSDK::View;
using Tessel::PCSDK::CallbackResultCpp;

namespace {

// The popups handed to a callback: an array of C records, null when the list
// is empty or the array cannot be allocated.
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
            return;
        }
        for (unsigned int i = 0; i < size; ++i) {
            popups_[i] = panora::PopupToC(popups[i]);
            count_ = i + 1;
        }
    }
    PopupArray(const PopupArray&) = delete;
    PopupArray& operator=(const PopupArray&) = delete;
    ~PopupArray()
    {
        for (unsigned int i = 0; i < count_; ++i) {
            panora::FreePopup(&popups_[i]);
        }
        std::free(popups_);
    }

    TesselPopup* data() const { return popups_; }
    unsigned int count() const { return count_; }

private:
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

// The one conversion body of the four fetches. After the callback the popups
// are freed, then the request data, then the C result.
void DeliverList(TesselPopupFetchCallback callback, CallbackResultCpp resultIn,
                 std::vector<View::TesselPCPopupCpp> popupsIn, View::TesselPCPopupRequestDataCpp dataIn) noexcept
{
    try {
        const CallbackResultCpp result = std::move(resultIn);
        const std::vector<View::TesselPCPopupCpp> popups = std::move(popupsIn);
        const View::TesselPCPopupRequestDataCpp data = std::move(dataIn);
        CResultRecord record(result);
        RequestData requestData(data);
        PopupArray array(popups);
        callback(&record.record, array.data(), array.count(), &requestData.record);
    } catch (...) {
        // Out of memory before the callback: the platform must not see it.
    }
}

View::PopupFetchCallback Wrap(TesselPopupFetchCallback callback)
{
    if (callback == nullptr) {
        return {};
    }
    return [callback](CallbackResultCpp result, std::vector<View::TesselPCPopupCpp> popups,
                      View::TesselPCPopupRequestDataCpp data) {
        DeliverList(callback, std::move(result), std::move(popups), std::move(data));
    };
}

}  // namespace

extern "C" {

void TesselAPI_FetchAutoPopup(TesselPopupFetchCallback callback)
{
    tessel::rt::NoThrow([&] { View::TesselAPI_FetchAutoPopupCpp(Wrap(callback)); });
}

// A null key is sent as the empty key, as the manual popup request does.
void TesselAPI_FetchManualPopup(const wchar_t* key, TesselPopupFetchCallback callback)
{
    tessel::rt::NoThrow([&] {
        const std::wstring keyText = key != nullptr ? key : L"";
        View::TesselAPI_FetchManualPopupCpp(keyText, Wrap(callback));
    });
}

void TesselAPI_FetchNewsPopup(TesselPopupFetchCallback callback)
{
    tessel::rt::NoThrow([&] { View::TesselAPI_FetchNewsPopupCpp(Wrap(callback)); });
}

void TesselAPI_FetchCouponPopup(TesselPopupFetchCallback callback)
{
    tessel::rt::NoThrow([&] { View::TesselAPI_FetchCouponPopupCpp(Wrap(callback)); });
}

}  // extern "C"
