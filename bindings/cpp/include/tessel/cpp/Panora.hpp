/**
 * @file Panora.hpp
 * @brief Panora, the popup view module, for a C++ game built with any
 * compiler: every request of its C interface with owned values and any
 * callable. See Platform.hpp for how callables run.
 *
 * The popup list fetches have no context in the C interface: these headers
 * send one fetch of each kind at a time and send the next when the answer
 * before it has arrived, so that every answer reaches its own callable.
 */
#ifndef TESSEL_CPP_PANORA_HPP
#define TESSEL_CPP_PANORA_HPP

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tessel/cpp/detail/Bridge.hpp"
#include "tessel/panora/Panora.h"

/** Panora, the popup view module. */
namespace tessel::panora {

/** Close button style of a popup. */
enum class CloseButton : std::int32_t {
    Custom = 0,   /**< Drawn by the popup's page. */
    Preset01 = 1, /**< Preset style 1. */
    Preset02 = 2, /**< Preset style 2. */
    Preset03 = 3, /**< Preset style 3. */
    Preset04 = 4, /**< Preset style 4. */
    Preset05 = 5, /**< Preset style 5. */
    Preset06 = 6, /**< Preset style 6. */
    Default = 7,  /**< The platform's default style. */
};

/** @param value The value. @return Its name ("PRESET_01", ...), or its number when unknown. */
inline std::wstring to_string(CloseButton value)
{
    return tessel::detail::NameOf(value, {L"CUSTOM", L"PRESET_01", L"PRESET_02", L"PRESET_03", L"PRESET_04",
                                          L"PRESET_05", L"PRESET_06", L"DEFAULT"});
}

/** Two texts of a fetched popup. */
using TextPair = std::pair<std::wstring, std::wstring>;

/** One popup of a fetched list; the fields are the platform's, passed through unchanged. */
struct Popup {
    std::wstring text1;       /**< A text of the platform's popup record. */
    std::wstring text2;       /**< A text of the platform's popup record. */
    std::int32_t number1 = 0; /**< A number of the platform's popup record. */
    std::wstring text3;       /**< A text of the platform's popup record. */
    std::uint8_t bytes[7] = {}; /**< byte1 to byte7 of the platform's popup record. */
    std::int32_t number2 = 0; /**< A number of the platform's popup record. */
    TextPair pair1;           /**< A pair of texts of the platform's popup record. */
    TextPair pair2;           /**< A pair of texts of the platform's popup record. */
    std::int32_t number3 = 0; /**< A number of the platform's popup record. */
    std::int32_t number4 = 0; /**< A number of the platform's popup record. */
    std::int32_t number5 = 0; /**< A number of the platform's popup record. */
    std::int32_t number6 = 0; /**< A number of the platform's popup record. */
};

/** The data that comes with a fetched list. */
struct PopupRequestData {
    std::vector<TextPair> pairs1; /**< First list of text pairs. */
    std::vector<TextPair> pairs2; /**< Second list of text pairs. */
};

/** @cond INTERNAL */
namespace detail {
using tessel::detail::Many;
using tessel::detail::NoValues;
using tessel::detail::Request;
using tessel::detail::Request2;
using tessel::detail::Text;
using tessel::detail::TextValue;

inline TextPair Pair(const TesselPopupStringPair& pair) { return TextPair(Text(pair.first), Text(pair.second)); }

inline std::vector<TextPair> Pairs(const TesselPopupStringPair* pairs, std::size_t count)
{
    return Many<TextPair>(pairs, count, [](TextPair& out, const TesselPopupStringPair& in) { out = Pair(in); });
}

struct PopupList {
    using Values = std::tuple<std::vector<Popup>, PopupRequestData>;
    static Values Convert(const TesselPopup* popups, unsigned int count, const TesselPopupRequestData* data)
    {
        Values values;
        std::get<0>(values) = Many<Popup>(popups, count, [](Popup& out, const TesselPopup& in) {
            out.text1 = Text(in.text1);
            out.text2 = Text(in.text2);
            out.number1 = in.number1;
            out.text3 = Text(in.text3);
            const std::uint8_t bytes[7] = {in.byte1, in.byte2, in.byte3, in.byte4, in.byte5, in.byte6, in.byte7};
            for (std::size_t index = 0; index < 7; ++index) {
                out.bytes[index] = bytes[index];
            }
            out.number2 = in.number2;
            out.pair1 = Pair(in.pair1);
            out.pair2 = Pair(in.pair2);
            out.number3 = in.number3;
            out.number4 = in.number4;
            out.number5 = in.number5;
            out.number6 = in.number6;
        });
        if (data != nullptr) {
            std::get<1>(values).pairs1 = Pairs(data->pairs1, data->pairCount1);
            std::get<1>(values).pairs2 = Pairs(data->pairs2, data->pairCount2);
        }
        return values;
    }
};

// One lane per kind of list fetch.
enum : std::size_t { kAutoLane = 0, kManualLane = 1, kNewsLane = 2, kCouponLane = 3 };

template <std::size_t Lane, class F, class SendFn>
tessel::detail::Returned<F> FetchList(F&& callback, SendFn&& send)
{
    return tessel::detail::LaneRequest<Lane, PopupList, TesselPopupFetchCallback>(std::forward<F>(callback),
                                                                                 std::forward<SendFn>(send));
}

// A popup request with an optional onDestroy: show(callback, onDestroy,
// context) sends the Ex form, show(callback, context) the plain one.
template <class F, class D, class ShowEx, class Show>
tessel::detail::Returned<F> ShowPopup(F&& callback, D&& onDestroy, ShowEx&& showEx, Show&& show)
{
    if constexpr (std::is_same_v<std::decay_t<D>, tessel::detail::Nothing>) {
        return Request<NoValues, TesselPopupCallback>(std::forward<F>(callback), std::forward<Show>(show));
    } else {
        return Request2<NoValues, TesselPopupCallback, NoValues, TesselPopupCallback>(
            std::forward<F>(callback), std::forward<D>(onDestroy),
            [&showEx](TesselPopupCallback c, TesselPopupCallback d, void* context) { showEx(c, d, context, context); });
    }
}

inline TesselWebViewMode Mode(WebViewMode mode) noexcept { return static_cast<TesselWebViewMode>(mode); }

}  // namespace detail
/** @endcond */

/** @return The result of initializing Panora (after the platform). Prefer the Panora object. */
inline Result Initialize() { return ToResult(TesselAPI_ViewInitialize()); }
/**
 * Initializes Panora for a game window.
 * @param window The game's window.
 * @return As Initialize().
 */
inline Result Initialize(const WindowInfo& window)
{
    const TesselWindowInfo info{window.handle, window.width, window.height};
    return ToResult(TesselAPI_ViewInitializeWithWndInfo(&info));
}
/** @return The result of uninitializing Panora. */
inline Result UnInitialize() { return tessel::detail::Ending(tessel::detail::kPanoraKind, TesselAPI_ViewUnInitialize()); }
/** @return The SDK's version text, e.g. "1.0.0" (empty on failure). */
inline std::wstring GetVersion() { return tessel::detail::Version(&TesselAPI_ViewGetVersion); }

/** Keeps Panora initialized while it lives (declare it after the Platform). */
class Panora : public Lifetime {
public:
    /** @param when Whether the constructor initializes. */
    explicit Panora(Start when = Start::Now)
        : Lifetime(tessel::detail::kPanoraKind, [] { return Initialize(); }, &UnInitialize, "Panora", when)
    {
    }
    /** @param window The game's window. @param when Whether the constructor initializes. */
    explicit Panora(const WindowInfo& window, Start when = Start::Now)
        : Lifetime(tessel::detail::kPanoraKind, [window] { return Initialize(window); }, &UnInitialize, "Panora", when)
    {
    }
};

/**
 * Shows the automatic popup.
 * @param mode Where it is shown.
 * @param callback `(const Result&)`: Success once shown, PopupNotCreated when it could not be.
 * @param onDestroy `(const Result&)`, once after @p callback: when the popup
 *        closes, or PopupNotCreated when it was not created or never attempted; may be omitted.
 */
template <class F, class D = tessel::detail::Nothing>
tessel::detail::Returned<F> AutoPopup(WebViewMode mode, F&& callback, D&& onDestroy = {})
{
    return detail::ShowPopup(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [mode](TesselPopupCallback c, TesselPopupCallback d, void* x, void* y) {
            TesselAPI_AutoPopupEx(detail::Mode(mode), c, d, x, y);
        },
        [mode](TesselPopupCallback c, void* x) { TesselAPI_AutoPopup(detail::Mode(mode), c, x); });
}

/**
 * Shows the manual popup of a key; as AutoPopup().
 * @param key The manual popup's key.
 * @param mode Where it is shown.
 * @param callback `(const Result&)`.
 * @param onDestroy `(const Result&)`; may be omitted.
 */
template <class F, class D = tessel::detail::Nothing>
tessel::detail::Returned<F> ManualPopup(TextArg key, WebViewMode mode, F&& callback, D&& onDestroy = {})
{
    const wchar_t* const text = key.c_str();
    return detail::ShowPopup(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [text, mode](TesselPopupCallback c, TesselPopupCallback d, void* x, void* y) {
            TesselAPI_ManualPopupEx(text, detail::Mode(mode), c, d, x, y);
        },
        [text, mode](TesselPopupCallback c, void* x) { TesselAPI_ManualPopup(text, detail::Mode(mode), c, x); });
}

/**
 * Shows the news popup; as AutoPopup().
 * @param mode Where it is shown.
 * @param callback `(const Result&)`.
 * @param onDestroy `(const Result&)`; may be omitted.
 */
template <class F, class D = tessel::detail::Nothing>
tessel::detail::Returned<F> NewsPopup(WebViewMode mode, F&& callback, D&& onDestroy = {})
{
    return detail::ShowPopup(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [mode](TesselPopupCallback c, TesselPopupCallback d, void* x, void* y) {
            TesselAPI_NewsPopupEx(detail::Mode(mode), c, d, x, y);
        },
        [mode](TesselPopupCallback c, void* x) { TesselAPI_NewsPopup(detail::Mode(mode), c, x); });
}

/**
 * Shows the coupon popup; as AutoPopup().
 * @param mode Where it is shown.
 * @param callback `(const Result&)`.
 * @param onDestroy `(const Result&)`; may be omitted.
 */
template <class F, class D = tessel::detail::Nothing>
tessel::detail::Returned<F> CouponPopup(WebViewMode mode, F&& callback, D&& onDestroy = {})
{
    return detail::ShowPopup(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [mode](TesselPopupCallback c, TesselPopupCallback d, void* x, void* y) {
            TesselAPI_CouponPopupEx(detail::Mode(mode), c, d, x, y);
        },
        [mode](TesselPopupCallback c, void* x) { TesselAPI_CouponPopup(detail::Mode(mode), c, x); });
}

/**
 * Shows the identity verification popup.
 * @param flag Passed to the platform unchanged.
 * @param mode Where it is shown.
 * @param callback `(const Result&)` with the outcome.
 * @param onValue `(const Result&, std::wstring value)`, once after @p callback:
 *        the verification value, or PopupNotCreated and an empty value when
 *        the popup was not created or never attempted.
 */
template <class F, class V>
tessel::detail::Returned<F> VerifyIdentificationPopup(bool flag, WebViewMode mode, F&& callback, V&& onValue)
{
    return detail::Request2<detail::NoValues, TesselPopupCallback, detail::TextValue, TesselPopupValueCallback>(
        std::forward<F>(callback), std::forward<V>(onValue),
        [flag, mode](TesselPopupCallback c, TesselPopupValueCallback v, void* context) {
            TesselAPI_VerifyIdentificationPopup(flag, detail::Mode(mode), c, v, context, context);
        });
}

/**
 * Fetches the list of automatic popups.
 * @param callback `(const Result&, std::vector<Popup>, PopupRequestData)`.
 */
template <class F>
tessel::detail::Returned<F> FetchAutoPopup(F&& callback)
{
    return detail::FetchList<detail::kAutoLane>(std::forward<F>(callback),
                                         [](TesselPopupFetchCallback c) noexcept { TesselAPI_FetchAutoPopup(c); });
}

/**
 * Fetches the list of manual popups of a key.
 * @param key The key.
 * @param callback `(const Result&, std::vector<Popup>, PopupRequestData)`.
 */
template <class F>
tessel::detail::Returned<F> FetchManualPopup(TextArg key, F&& callback)
{
    return detail::FetchList<detail::kManualLane>(
        std::forward<F>(callback),
        [text = std::wstring(key.c_str())](TesselPopupFetchCallback c) noexcept {
            TesselAPI_FetchManualPopup(text.c_str(), c);
        });
}

/**
 * Fetches the list of news popups.
 * @param callback `(const Result&, std::vector<Popup>, PopupRequestData)`.
 */
template <class F>
tessel::detail::Returned<F> FetchNewsPopup(F&& callback)
{
    return detail::FetchList<detail::kNewsLane>(std::forward<F>(callback),
                                         [](TesselPopupFetchCallback c) noexcept { TesselAPI_FetchNewsPopup(c); });
}

/**
 * Fetches the list of coupon popups.
 * @param callback `(const Result&, std::vector<Popup>, PopupRequestData)`.
 */
template <class F>
tessel::detail::Returned<F> FetchCouponPopup(F&& callback)
{
    return detail::FetchList<detail::kCouponLane>(std::forward<F>(callback),
                                           [](TesselPopupFetchCallback c) noexcept { TesselAPI_FetchCouponPopup(c); });
}

/**
 * Suppresses a popup for a number of days.
 * @param popupId The popup's id.
 * @param days Days to suppress it.
 * @param callback `(const Result&)`.
 */
template <class F>
tessel::detail::Returned<F> SetPopupDisallowed(std::uint32_t popupId, std::uint32_t days, F&& callback)
{
    const TesselPopupDisallowedParams params{popupId, days};
    return detail::Request<detail::NoValues, TesselPopupCallback>(
        std::forward<F>(callback),
        [&params](TesselPopupCallback c, void* context) { TesselAPI_SetPopupDisallowed(&params, c, context); });
}

/**
 * Fetches the web open key.
 * @param callback `(const Result&, std::wstring key)`; the key is empty on failure.
 */
template <class F>
tessel::detail::Returned<F> FetchWebOpenKey(F&& callback)
{
    return detail::Request<detail::TextValue, TesselPopupValueCallback>(
        std::forward<F>(callback),
        [](TesselPopupValueCallback c, void* context) { TesselAPI_FetchWebOpenKey(c, context); });
}

/**
 * Closes every popup the platform shows; a closed popup's onDestroy runs
 * from the next RunCallbacks().
 * @return Success, or NotInitialized.
 */
inline Result CloseAllPopups() { return ToResult(TesselAPI_ViewCloseAllPopups()); }

}  // namespace tessel::panora

#endif
