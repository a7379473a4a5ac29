// Conversions of the platform's popup records to the C records.
#include <cstdlib>
#include <cstring>

#include <new>

#include "PopupRecords.hpp"
#include "tessel/runtime/Marshal.hpp"

namespace panora {
namespace {

wchar_t* Duplicate(const std::wstring& text) { return tessel::rt::CopyText(text.c_str()); }

void CopyPair(TesselPopupStringPair& to, const TesselPCPopupStringPairCpp& from)
{
    to.first = Duplicate(from.first);
    to.second = Duplicate(from.second);
}

void FreeText(wchar_t*& text)
{
    std::free(text);
    text = nullptr;
}

void FreePair(TesselPopupStringPair& pair)
{
    FreeText(pair.first);
    FreeText(pair.second);
}

void FreeList(TesselPopupStringPair*& pairs, uint32_t& count);

// The pointer and the count are set before the pairs are filled, so that
// FreeList releases a list that failed half-way.
void ListToC(const std::vector<TesselPCPopupStringPairCpp>& from, TesselPopupStringPair*& pairs, uint32_t& count)
{
    pairs = nullptr;
    count = 0;
    const auto size = static_cast<uint32_t>(from.size());
    if (size == 0) {
        return;
    }
    pairs = static_cast<TesselPopupStringPair*>(std::calloc(size, sizeof(TesselPopupStringPair)));
    if (pairs == nullptr) {
        throw std::bad_alloc();
    }
    count = size;
    for (uint32_t i = 0; i < size; ++i) {
        CopyPair(pairs[i], from[i]);
    }
}

void FreeList(TesselPopupStringPair*& pairs, uint32_t& count)
{
    if (pairs != nullptr) {
        for (uint32_t i = 0; i < count; ++i) {
            FreePair(pairs[i]);
        }
        std::free(pairs);
        pairs = nullptr;
    }
    count = 0;
}

}  // namespace

TesselPopup PopupToC(const TesselPCPopupCpp& popup)
{
    TesselPopup c;
    std::memset(&c, 0, sizeof c);
    try {
        c.text1 = Duplicate(popup.text1);
        c.text2 = Duplicate(popup.text2);
        c.text3 = Duplicate(popup.text3);
        CopyPair(c.pair1, popup.pair1);
        CopyPair(c.pair2, popup.pair2);
    } catch (...) {
        FreePopup(&c);
        throw;
    }
    c.number1 = popup.number1;
    c.byte1 = popup.byte1;
    c.byte2 = popup.byte2;
    c.byte3 = popup.byte3;
    c.byte4 = popup.byte4;
    c.byte5 = popup.byte5;
    c.byte6 = popup.byte6;
    c.byte7 = popup.byte7;
    c.number2 = popup.number2;
    c.number3 = popup.number3;
    c.number4 = popup.number4;
    c.number5 = popup.number5;
    c.number6 = popup.number6;
    return c;
}

TesselPopupRequestData RequestDataToC(const TesselPCPopupRequestDataCpp& data)
{
    TesselPopupRequestData c;
    std::memset(&c, 0, sizeof c);
    try {
        ListToC(data.pairs1, c.pairs1, c.pairCount1);
        ListToC(data.pairs2, c.pairs2, c.pairCount2);
    } catch (...) {
        FreeRequestData(&c);
        throw;
    }
    return c;
}

void FreePopup(TesselPopup* popup)
{
    if (popup == nullptr) {
        return;
    }
    FreeText(popup->text1);
    FreeText(popup->text2);
    FreeText(popup->text3);
    FreePair(popup->pair1);
    FreePair(popup->pair2);
}

void FreeRequestData(TesselPopupRequestData* data)
{
    if (data == nullptr) {
        return;
    }
    FreeList(data->pairs1, data->pairCount1);
    FreeList(data->pairs2, data->pairCount2);
}

}  // namespace panora
