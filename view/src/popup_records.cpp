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

// Frees a text and gives the null to store in its field. The packed records
// put their texts on 4-byte boundaries, so fields are assigned, never bound
// to references.
wchar_t* Freed(wchar_t* text)
{
    std::free(text);
    return nullptr;
}

void FreePair(TesselPopupStringPair& pair)
{
    pair.first = Freed(pair.first);
    pair.second = Freed(pair.second);
}

// A list of pairs in C form, before it is stored in (or after it is taken
// from) the fields of a packed record.
struct PairList {
    TesselPopupStringPair* pairs = nullptr;
    uint32_t count = 0;
};

void FreeList(PairList list)
{
    for (uint32_t i = 0; list.pairs != nullptr && i < list.count; ++i) {
        FreePair(list.pairs[i]);
    }
    std::free(list.pairs);
}

// Null for none; a list that fails half-way is freed before the exception
// leaves.
PairList ListToC(const std::vector<TesselPCPopupStringPairCpp>& from)
{
    PairList list;
    const auto size = static_cast<uint32_t>(from.size());
    if (size == 0) {
        return list;
    }
    list.pairs = static_cast<TesselPopupStringPair*>(std::calloc(size, sizeof(TesselPopupStringPair)));
    if (list.pairs == nullptr) {
        throw std::bad_alloc();
    }
    list.count = size;
    try {
        for (uint32_t i = 0; i < size; ++i) {
            CopyPair(list.pairs[i], from[i]);
        }
    } catch (...) {
        FreeList(list);
        throw;
    }
    return list;
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
        const PairList first = ListToC(data.pairs1);
        c.pairs1 = first.pairs;
        c.pairCount1 = first.count;
        const PairList second = ListToC(data.pairs2);
        c.pairs2 = second.pairs;
        c.pairCount2 = second.count;
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
    popup->text1 = Freed(popup->text1);
    popup->text2 = Freed(popup->text2);
    popup->text3 = Freed(popup->text3);
    FreePair(popup->pair1);
    FreePair(popup->pair2);
}

void FreeRequestData(TesselPopupRequestData* data)
{
    if (data == nullptr) {
        return;
    }
    FreeList({data->pairs1, data->pairCount1});
    data->pairs1 = nullptr;
    data->pairCount1 = 0;
    FreeList({data->pairs2, data->pairCount2});
    data->pairs2 = nullptr;
    data->pairCount2 = 0;
}

}  // namespace panora
