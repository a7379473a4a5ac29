// TesselPCPopupDisallowed: a popup id and the days it is suppressed for.
#include "tessel/panora/Panora.hpp"

namespace Tessel::PCSDK::View {

TesselPCPopupDisallowed::TesselPCPopupDisallowed() : popupId_(0), days_(0) {}

TesselPCPopupDisallowed::TesselPCPopupDisallowed(const TesselPCPopupDisallowed& other) : TesselPCPopupDisallowed()
{
    DeepCopy(other);
}

TesselPCPopupDisallowed::TesselPCPopupDisallowed(const TesselPCPopupDisallowedCpp* record)
    : TesselPCPopupDisallowed()
{
    DeepCopy(record);
}

TesselPCPopupDisallowed::~TesselPCPopupDisallowed() = default;

TesselPCPopupDisallowed& TesselPCPopupDisallowed::operator=(const TesselPCPopupDisallowed& other)
{
    DeepCopy(other);
    return *this;
}

TesselPCPopupDisallowed& TesselPCPopupDisallowed::operator=(const TesselPCPopupDisallowedCpp* record)
{
    DeepCopy(record);
    return *this;
}

unsigned int TesselPCPopupDisallowed::GetPopupId() const { return popupId_; }
void TesselPCPopupDisallowed::SetPopupId(unsigned int popupId) { popupId_ = popupId; }
unsigned int TesselPCPopupDisallowed::GetDays() const { return days_; }
void TesselPCPopupDisallowed::SetDays(unsigned int days) { days_ = days; }

void TesselPCPopupDisallowed::DeepCopy(const TesselPCPopupDisallowed& other)
{
    popupId_ = other.popupId_;
    days_ = other.days_;
}

// A null record changes nothing.
void TesselPCPopupDisallowed::DeepCopy(const TesselPCPopupDisallowedCpp* record)
{
    if (record != nullptr) {
        popupId_ = record->popupId;
        days_ = record->days;
    }
}

}  // namespace Tessel::PCSDK::View
