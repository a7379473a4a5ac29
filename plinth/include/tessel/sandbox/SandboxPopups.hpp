// The sandbox popups of the view module: the data objects its trampolines
// receive, and what a game or a test can see and change of the simulated
// popups (outside scripted mode).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel/sandbox/Sandbox.hpp"

namespace Tessel::PCSDK::Sandbox {

// What a popup display request reports: whether the popup was created.
class PLINTH_API PopupResultData final : public Object<Base::IPopupResultData> {
public:
    explicit PopupResultData(bool created = true);
    bool IsPopupCreated() const override;

    bool popupCreated;
};

// The value the identity-verification popup reports.
class PLINTH_API IdentityValueData final : public Object<Base::IIdentityValueData> {
public:
    explicit IdentityValueData(Text value = std::wstring());
    const wchar_t* GetValueText() const override;

    Text value;
};

// The kinds of popup lists the sandbox holds.
enum class PopupList { Auto, Manual, News, Coupon };

// The popups of a list as the sandbox would hand them out now: suppressed
// popups are left out. The manual list is chosen by its key ("event",
// "patch"; any other key has no popups).
PLINTH_API std::vector<View::TesselPCPopupCpp> AvailablePopups(PopupList list, const std::wstring& key = {});

// Whether the view module's next popups can be created (true by default;
// reset with the platform). A popup that is not created completes its
// request at once and says so in its data object.
PLINTH_API void SetViewPopupsCreated(bool created);

// A suppressed popup and the days it was suppressed for.
struct SuppressedPopup {
    uint32_t popupId = 0;
    uint32_t days = 0;
};
PLINTH_API std::vector<SuppressedPopup> SuppressedPopups();

}  // namespace Tessel::PCSDK::Sandbox
