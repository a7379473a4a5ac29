// The copying machinery shared by Vendra's public value classes: each class
// lists its fields (fields.hpp) and the generic helpers here duplicate,
// assign and release them, so every class follows the same rules:
// - texts are private heap copies (the C runtime's wide-string duplicate,
//   released with free); a default object holds fresh empty strings;
// - an assignment makes all new copies first and releases the old ones last,
//   so self-assignment leaves the object unchanged.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <new>
#include <type_traits>

#include "fields.hpp"
#include "tessel/runtime/Platform.hpp"
#include "tessel/vendra/VendraTypes.hpp"

namespace Tessel::PCSDK::IAP {

struct TEXTField {};
struct VALUEField {};
using ENUMField = VALUEField;

#define VENDRA_VISIT_FIELD(KIND, field, Getter) visit(KIND##Field{}, &Object::field##_, &Record::field);
#define VENDRA_FOR_EACH(Class, LIST)                                 \
    template <class Visit>                                           \
    static void ForEach(const Class*, Visit&& visit)                 \
    {                                                                \
        using Object = Class;                                        \
        using Record = Class##Cpp;                                   \
        LIST(VENDRA_VISIT_FIELD)                                     \
    }

// Private access for the module's own code: the field lists of the classes
// and their deep copies.
struct VendraAccess {
    // visit(kind, object field, record field) for each field in order.
    VENDRA_FOR_EACH(TesselPCShopCategory, VENDRA_SHOP_CATEGORY_FIELDS)
    VENDRA_FOR_EACH(TesselPCFetchProductParam, VENDRA_FETCH_PRODUCT_PARAM_FIELDS)
    VENDRA_FOR_EACH(TesselPCProduct, VENDRA_PRODUCT_FIELDS)
    VENDRA_FOR_EACH(TesselPCProductEx, VENDRA_PRODUCT_EX_FIELDS)
    VENDRA_FOR_EACH(TesselPCOrderProduct, VENDRA_ORDER_PRODUCT_FIELDS)
    VENDRA_FOR_EACH(TesselPCPurchaseOption, VENDRA_OPTION_FIELDS)
    VENDRA_FOR_EACH(TesselPCPaymentOption, VENDRA_OPTION_FIELDS)
    VENDRA_FOR_EACH(TesselPCTermsOption, VENDRA_OPTION_FIELDS)
    VENDRA_FOR_EACH(TesselPCWithdrawGameOption, VENDRA_WINDOW_FIELDS)
    VENDRA_FOR_EACH(TesselPCPurchasedProduct, VENDRA_PURCHASED_PRODUCT_FIELDS)
    VENDRA_FOR_EACH(TesselPCChargeInfo, VENDRA_CHARGE_INFO_FIELDS)
    VENDRA_FOR_EACH(TesselPCInventoryItem, VENDRA_INVENTORY_ITEM_FIELDS)
    VENDRA_FOR_EACH(TesselPCVoidedPurchase, VENDRA_VOIDED_PURCHASE_FIELDS)

    template <class T, class Record>
    static void DeepCopy(T& object, const Record* record)
    {
        object.DeepCopy(record);
    }

    // Installs the new contents of a purchase result (made in full before),
    // releasing the old ones.
    template <class Parts>
    static void Replace(TesselPCPurchaseResult& result, const Parts& parts) noexcept;

    // A purchase result made from record, whole or not at all: std::bad_alloc
    // when a copy ran out of memory (it leaves a null text or a short list
    // behind in the class's own copy). Not a template and with its type spelt
    // out, so that every compiler returns the object it checked (a copy made
    // on the way out could not report a failure of its own).
    static TesselPCPurchaseResult MakeWhole(const TesselPCPurchaseResultCpp& record);

    static const TesselPCPurchaseOption& PurchaseOption(const TesselPCStartPurchaseParam& param)
    {
        return param.purchaseOption_;
    }

    // The option values as stored, without the non-const getters.
    template <class Option>
    static auto Operation(const Option& option)
    {
        return option.operation_;
    }
    template <class Option>
    static auto WebviewMode(const Option& option)
    {
        return option.webviewMode_;
    }
    template <class Option>
    static void Rect(const Option& option, int& x, int& y, int& width, int& height)
    {
        x = option.webviewX_;
        y = option.webviewY_;
        width = option.webviewWidth_;
        height = option.webviewHeight_;
    }
};

#undef VENDRA_FOR_EACH
#undef VENDRA_VISIT_FIELD

namespace fields {

constexpr std::size_t kMaxTexts = 16;

inline wchar_t* Duplicate(const wchar_t* text) noexcept
{
    return tessel::rt::platform::DuplicateWide(text);
}

template <class T, class Visit>
void ForEach(const T& object, Visit&& visit)
{
    VendraAccess::ForEach(&object, visit);
}

// The packed records put 8-byte fields (texts, long long, double) on 4-byte
// boundaries, so the module reaches a field named by a member pointer with
// memcpy, never through the member pointer's lvalue or a reference.
template <class T, class F>
F Load(const T& object, F T::*field) noexcept
{
    F value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&(object.*field)), sizeof(F));
    return value;
}

template <class T, class F, class V>
void Store(T& object, F T::*field, V value) noexcept
{
    const F stored = static_cast<F>(value);
    std::memcpy(reinterpret_cast<unsigned char*>(&(object.*field)), &stored, sizeof(F));
}

// Replaces an owned text by value (already a fresh copy, or null) and
// releases the old one.
template <class T>
void ReplaceText(T& object, wchar_t* T::*field, wchar_t* value) noexcept
{
    std::free(Load(object, field));
    Store(object, field, value);
}

// Replaces an owned text by a copy of value (null stores null); the copy is
// made first, so the field's own text can be passed back in.
template <class T>
void StoreText(T& object, wchar_t* T::*field, const wchar_t* value) noexcept
{
    ReplaceText(object, field, Duplicate(value));
}

// Every text field set to null (before the first deep copy).
template <class T>
void NullTexts(T& object) noexcept
{
    ForEach(object, [&](auto kind, auto field, auto) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            Store(object, field, nullptr);
        }
    });
}

// Every text field a fresh empty string.
template <class T>
void EmptyTexts(T& object) noexcept
{
    ForEach(object, [&](auto kind, auto field, auto) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            Store(object, field, Duplicate(L""));
        }
    });
}

template <class T>
void FreeTexts(T& object) noexcept
{
    ForEach(object, [&](auto kind, auto field, auto) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            std::free(Load(object, field));
            Store(object, field, nullptr);
        }
    });
}

// Whether every text of object is there: a copy that ran out of memory
// leaves a null text behind.
template <class T>
bool HasEveryText(const T& object) noexcept
{
    bool whole = true;
    ForEach(object, [&](auto kind, auto field, auto) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            whole = whole && Load(object, field) != nullptr;
        }
    });
    return whole;
}

// Copies every field of source (the same class, or its intermediate record)
// into object: new text copies first, then the numbers, then the old texts
// are released.
template <class T, class Source>
void Assign(T& object, const Source& source) noexcept
{
    constexpr bool fromObject = std::is_same_v<T, Source>;
    wchar_t* copies[kMaxTexts] = {};
    std::size_t count = 0;
    ForEach(object, [&](auto kind, auto field, auto recordField) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            if constexpr (fromObject) {
                copies[count++] = Duplicate(Load(source, field));
            } else {
                copies[count++] = Duplicate((source.*recordField).c_str());
            }
        }
    });
    count = 0;
    ForEach(object, [&](auto kind, auto field, auto recordField) {
        if constexpr (std::is_same_v<decltype(kind), TEXTField>) {
            std::free(Load(object, field));
            Store(object, field, copies[count++]);
        } else if constexpr (fromObject) {
            Store(object, field, Load(source, field));
        } else {
            Store(object, field, Load(source, recordField));
        }
    });
}

// A list held in a malloc array of elements stored by value.
template <class E>
struct List {
    E* items = nullptr;
    unsigned int count = 0;
};

// Allocates count elements, each constructed by make(slot, index) with
// placement new; empty (null, 0) when count is 0, longer than any list can
// be, or the allocation fails.
template <class E, class Make>
List<E> MakeList(unsigned int count, Make&& make) noexcept
{
    if (count == 0 || count > TESSEL_VENDRA_MAX_LIST_COUNT) {
        return {};
    }
    auto* items = static_cast<E*>(std::malloc(sizeof(E) * count));
    if (items == nullptr) {
        return {};
    }
    for (unsigned int i = 0; i < count; ++i) {
        make(&items[i], i);
    }
    return {items, count};
}

// Destroys every element of the list object.*items (releasing the texts
// it owns) and frees the array; the list becomes (null, 0).
template <class T, class E>
void FreeList(T& object, E* T::*items, unsigned int T::*count) noexcept
{
    E* elements = Load(object, items);
    const unsigned int size = Load(object, count);
    for (unsigned int i = 0; elements != nullptr && i < size; ++i) {
        elements[i].~E();
    }
    std::free(elements);
    Store(object, items, nullptr);
    Store(object, count, 0u);
}

// Replaces a list by a new one, releasing the old one.
template <class T, class E>
void ReplaceList(T& object, E* T::*items, unsigned int T::*count, List<E> list) noexcept
{
    FreeList(object, items, count);
    Store(object, items, list.items);
    Store(object, count, list.count);
}

}  // namespace fields
}  // namespace Tessel::PCSDK::IAP

// The special members of a class described by its field list: the copy
// constructor starts from null texts, the converting constructor from the
// default object; a null record leaves the object as it is.
#define VENDRA_COPY_MEMBERS(Class)                                                         \
    Class::Class(const Class& other)                                                       \
    {                                                                                      \
        fields::NullTexts(*this);                                                          \
        DeepCopy(other);                                                                   \
    }                                                                                      \
    Class::Class(const Class##Cpp* record) : Class() { DeepCopy(record); }                \
    Class& Class::operator=(const Class& other)                                            \
    {                                                                                      \
        DeepCopy(other);                                                                   \
        return *this;                                                                      \
    }                                                                                      \
    Class& Class::operator=(const Class##Cpp* record)                                      \
    {                                                                                      \
        DeepCopy(record);                                                                  \
        return *this;                                                                      \
    }                                                                                      \
    void Class::DeepCopy(const Class& other) { fields::Assign(*this, other); }             \
    void Class::DeepCopy(const Class##Cpp* record)                                         \
    {                                                                                      \
        if (record != nullptr) {                                                           \
            fields::Assign(*this, *record);                                                \
        }                                                                                  \
    }

#define VENDRA_OWNING_MEMBERS(Class) \
    VENDRA_COPY_MEMBERS(Class)       \
    Class::~Class() { fields::FreeTexts(*this); }

// Getters generated from a field list (inside a macro that names Class).
#define VENDRA_GETTER_TEXT(Class, field, Getter) \
    const wchar_t* Class::Getter() const { return field##_; }
#define VENDRA_GETTER_VALUE(Class, field, Getter) \
    auto Class::Getter() const->decltype(field##_) { return field##_; }
#define VENDRA_GETTER_ENUM(Class, field, Getter) \
    auto Class::Getter()->decltype(field##_) { return field##_; }
