// Reading a profile: JSON text into a World, refused as a whole with one
// message at the first thing that is wrong.
#include "world/profile.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <new>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tessel/base/TesselBase.h"

namespace plinth {
namespace {

using Json = nlohmann::json;
using Tessel::PCSDK::View::TesselPCPopupCpp;
using Tessel::PCSDK::View::TesselPCPopupStringPairCpp;

// What is wrong, and where (a JSON path such as shop.products[2].price).
struct Refusal {
    std::string path;
    std::string what;
};

[[noreturn]] void Refuse(const std::string& path, std::string what) { throw Refusal{path, std::move(what)}; }

[[noreturn]] void WrongType(const Json& value, const std::string& path, const char* expected)
{
    Refuse(path, std::string("expected ") + expected + ", found " + value.type_name());
}

std::string Member(const std::string& path, const std::string& key)
{
    return path.empty() ? key : path + "." + key;
}

std::string Element(const std::string& path, std::size_t index)
{
    return path + "[" + std::to_string(index) + "]";
}

// UTF-8 (checked by the parser) to wide text: UTF-16 where wchar_t has 16 bits.
std::wstring Wide(const std::string& text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += length;
        if (sizeof(wchar_t) == 2 && point > 0xFFFF) {
            point -= 0x10000;
            wide.push_back(static_cast<wchar_t>(0xD800 + (point >> 10)));
            wide.push_back(static_cast<wchar_t>(0xDC00 + (point & 0x3FF)));
        } else {
            wide.push_back(static_cast<wchar_t>(point));
        }
    }
    return wide;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text) {
        narrow.push_back(static_cast<unsigned char>(c) == c && c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

// --- Values ---------------------------------------------------------------------

void Read(const Json& value, const std::string& path, std::wstring& out)
{
    if (!value.is_string()) {
        WrongType(value, path, "a string");
    }
    out = Wide(value.get_ref<const std::string&>());
}

void Read(const Json& value, const std::string& path, Text& out)
{
    if (value.is_null()) {
        out.reset();
        return;
    }
    if (!value.is_string()) {
        WrongType(value, path, "a string or null");
    }
    out = Wide(value.get_ref<const std::string&>());
}

void Read(const Json& value, const std::string& path, bool& out)
{
    if (!value.is_boolean()) {
        WrongType(value, path, "true or false");
    }
    out = value.get<bool>();
}

void Read(const Json& value, const std::string& path, double& out)
{
    if (!value.is_number()) {
        WrongType(value, path, "a number");
    }
    out = value.get<double>();
}

template <class Integer>
void ReadInteger(const Json& value, const std::string& path, Integer& out)
{
    if (!value.is_number_integer()) {
        WrongType(value, path, "an integer");
    }
    using Limits = std::numeric_limits<Integer>;
    const bool fits = value.is_number_unsigned()
                          ? value.get<uint64_t>() <= static_cast<uint64_t>(Limits::max())
                          : value.get<int64_t>() >= static_cast<int64_t>(Limits::min()) &&
                                (Limits::max() >= std::numeric_limits<int64_t>::max() ||
                                 value.get<int64_t>() <= static_cast<int64_t>(Limits::max()));
    if (!fits) {
        Refuse(path, "the integer " + value.dump() + " is out of range (" + std::to_string(Limits::min()) + " to " +
                         std::to_string(Limits::max()) + ")");
    }
    out = value.is_number_unsigned() ? static_cast<Integer>(value.get<uint64_t>())
                                     : static_cast<Integer>(value.get<int64_t>());
}

void Read(const Json& value, const std::string& path, int16_t& out) { ReadInteger(value, path, out); }
void Read(const Json& value, const std::string& path, int32_t& out) { ReadInteger(value, path, out); }
void Read(const Json& value, const std::string& path, int64_t& out) { ReadInteger(value, path, out); }
void Read(const Json& value, const std::string& path, uint32_t& out) { ReadInteger(value, path, out); }
void Read(const Json& value, const std::string& path, uint8_t& out) { ReadInteger(value, path, out); }

void Read(const Json& value, const std::string& path, TesselPCPopupStringPairCpp& out);

template <class Value>
void Read(const Json& value, const std::string& path, std::optional<Value>& out)
{
    out.emplace();
    Read(value, path, *out);
}

const Json& Expect(const Json& value, const std::string& path, Json::value_t type)
{
    if (value.type() != type) {
        WrongType(value, path, type == Json::value_t::object ? "an object" : "an array");
    }
    return value;
}

// --- Records ----------------------------------------------------------------------

template <class Record>
struct Field {
    const char* name;
    std::function<void(const Json&, const std::string&, Record&)> read;
};

template <class Record, class Value, class Owner>
Field<Record> F(const char* name, Value Owner::*member)
{
    return {name, [member](const Json& value, const std::string& path, Record& record) {
                Read(value, path, record.*member);
            }};
}

// A C bool kept as one byte.
template <class Record, class Owner>
Field<Record> Flag(const char* name, uint8_t Owner::*member)
{
    return {name, [member](const Json& value, const std::string& path, Record& record) {
                bool flag = false;
                Read(value, path, flag);
                record.*member = flag ? 1 : 0;
            }};
}

template <class Record>
std::string Known(const std::vector<Field<Record>>& fields)
{
    std::string names;
    for (const Field<Record>& field : fields) {
        names += (names.empty() ? "" : ", ") + std::string(field.name);
    }
    return names;
}

// Reads the members of an object; a member no field knows is refused.
template <class Record>
void ReadFields(const Json& value, const std::string& path, const std::vector<Field<Record>>& fields, Record& record)
{
    Expect(value, path, Json::value_t::object);
    for (const auto& [key, member] : value.items()) {
        auto field = std::find_if(fields.begin(), fields.end(),
                                  [&key = key](const Field<Record>& known) { return key == known.name; });
        if (field == fields.end()) {
            Refuse(Member(path, key), "unknown field (known: " + Known(fields) + ")");
        }
        field->read(member, Member(path, key), record);
    }
}

template <class Record>
std::vector<Record> ReadList(const Json& value, const std::string& path, const std::vector<Field<Record>>& fields)
{
    Expect(value, path, Json::value_t::array);
    std::vector<Record> records(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        ReadFields(value[i], Element(path, i), fields, records[i]);
    }
    return records;
}

const std::vector<Field<CategoryRecord>>& CategoryFields()
{
    using R = CategoryRecord;
    static const std::vector<Field<R>> fields = {
        F<R>("categoryId", &R::categoryId), F<R>("parentCategoryId", &R::parentCategoryId),
        F<R>("displayNumber", &R::displayNumber), F<R>("name", &R::name), F<R>("depth", &R::depth)};
    return fields;
}

const std::vector<Field<ProductRecord>>& ProductFieldList()
{
    using R = ProductRecord;
    using P = Tessel::PCSDK::Sandbox::ProductFields;
    static const std::vector<Field<R>> fields = {
        F<R>("productId", &P::productId),
        F<R>("gameItemId", &P::gameItemId),
        F<R>("name", &P::name),
        F<R>("description", &P::description),
        F<R>("quantity", &P::quantity),
        F<R>("productTypeCode", &P::productTypeCode),
        F<R>("categoryId", &P::categoryId),
        F<R>("categoryName", &P::categoryName),
        F<R>("currencyCode", &P::currencyCode),
        F<R>("price", &P::price),
        F<R>("displayPrice", &P::displayPrice),
        F<R>("displayPriceString", &P::displayPriceString),
        F<R>("salePrice", &P::salePrice),
        F<R>("displaySalePrice", &P::displaySalePrice),
        F<R>("displaySalePriceString", &P::displaySalePriceString),
        Flag<R>("isDiscount", &P::isDiscount),
        F<R>("discountType", &P::discountType),
        F<R>("discountTypeValue", &P::discountTypeValue),
        F<R>("discountBeginDate", &P::discountBeginDate),
        F<R>("discountEndDate", &P::discountEndDate),
        F<R>("totalQuantity", &P::totalQuantity),
        F<R>("memberQuantity", &P::memberQuantity),
        F<R>("guidQuantity", &P::guidQuantity),
        F<R>("thumbnailUrl", &P::thumbnailUrl),
        Flag<R>("canWithdraw", &P::canWithdraw),
        Flag<R>("purchasedAtLeastOnce", &P::purchasedAtLeastOnce),
        F<R>("purchaseLimitTypeCode", &P::purchaseLimitTypeCode),
        F<R>("purchaseLimitCount", &P::purchaseLimitCount),
        F<R>("saleLimitCount", &P::saleLimitCount),
        F<R>("saleBeginDate", &P::saleBeginDate),
        F<R>("saleEndDate", &P::saleEndDate),
        F<R>("purchaseAvailabilityCode", &R::purchaseAvailabilityCode),
    };
    return fields;
}

const std::vector<Field<InventoryRecord>>& InventoryFields()
{
    using R = InventoryRecord;
    static const std::vector<Field<R>> fields = {
        F<R>("transactionMasterNumber", &R::transactionMasterNumber),
        F<R>("transactionDetailNumber", &R::transactionDetailNumber),
        F<R>("productId", &R::productId),
        F<R>("gameItemId", &R::gameItemId),
        F<R>("productName", &R::productName),
        F<R>("quantity", &R::quantity),
        F<R>("thumbnailUrl", &R::thumbnailUrl)};
    return fields;
}

const std::vector<Field<VoidedRecord>>& VoidedFields()
{
    using R = VoidedRecord;
    static const std::vector<Field<R>> fields = {
        F<R>("tid", &R::tid),
        F<R>("marketCode", &R::marketCode),
        F<R>("productId", &R::productId),
        F<R>("marketProductId", &R::marketProductId),
        F<R>("userId", &R::userId),
        F<R>("characterNo", &R::characterNo),
        F<R>("purchaseMillis", &R::purchaseMillis),
        F<R>("voidedMillis", &R::voidedMillis)};
    return fields;
}

void Read(const Json& value, const std::string& path, TesselPCPopupStringPairCpp& out)
{
    using R = TesselPCPopupStringPairCpp;
    static const std::vector<Field<R>> fields = {F<R>("first", &R::first), F<R>("second", &R::second)};
    ReadFields(value, path, fields, out);
}

const std::vector<Field<TesselPCPopupCpp>>& PopupFields()
{
    using R = TesselPCPopupCpp;
    static const std::vector<Field<R>> fields = {
        F<R>("text1", &R::text1),     F<R>("text2", &R::text2),     F<R>("number1", &R::number1),
        F<R>("text3", &R::text3),     F<R>("byte1", &R::byte1),     F<R>("byte2", &R::byte2),
        F<R>("byte3", &R::byte3),     F<R>("byte4", &R::byte4),     F<R>("byte5", &R::byte5),
        F<R>("byte6", &R::byte6),     F<R>("byte7", &R::byte7),     F<R>("number2", &R::number2),
        F<R>("pair1", &R::pair1),     F<R>("pair2", &R::pair2),     F<R>("number3", &R::number3),
        F<R>("number4", &R::number4), F<R>("number5", &R::number5), F<R>("number6", &R::number6)};
    return fields;
}

// A module by its number or its name.
void ReadModule(const Json& value, const std::string& path, uint32_t& module)
{
    static const char* const kNames[] = {"Vendra", "Panora", "Scrivo", "Ludex"};
    if (value.is_string()) {
        const auto& name = value.get_ref<const std::string&>();
        for (uint32_t i = 0; i < 4; ++i) {
            if (name == kNames[i]) {
                module = i + 1;
                return;
            }
        }
    } else if (value.is_number_integer()) {
        Read(value, path, module);
        if (module >= 1 && module <= 4) {
            return;
        }
    }
    Refuse(path, "expected \"Vendra\", \"Panora\", \"Scrivo\", \"Ludex\" or 1 to 4, found " + value.dump());
}

const std::vector<Field<OutcomeRecord>>& OutcomeFields()
{
    using R = OutcomeRecord;
    static const std::vector<Field<R>> fields = {
        {"module", [](const Json& value, const std::string& path, R& rule) { ReadModule(value, path, rule.module); }},
        F<R>("operationCode", &R::operation),
        F<R>("count", &R::remaining),
        F<R>("resultCode", &R::resultCode),
        F<R>("message", &R::message),
        F<R>("popupCreated", &R::popupCreated),
        F<R>("flag", &R::flag),
        F<R>("emptyList", &R::emptyList),
        F<R>("delayMs", &R::delayMs)};
    return fields;
}

// --- Sections ---------------------------------------------------------------------

void ReadShop(const Json& value, World& world)
{
    const std::string path = "shop";
    Expect(value, path, Json::value_t::object);
    world.categories.clear();
    world.products.clear();
    for (const auto& [key, member] : value.items()) {
        if (key == "categories") {
            world.categories = ReadList(member, Member(path, key), CategoryFields());
        } else if (key == "products") {
            world.products = ReadList(member, Member(path, key), ProductFieldList());
        } else {
            Refuse(Member(path, key), "unknown field (known: categories, products)");
        }
    }
    // Categories: unique ids, parents that exist.
    for (std::size_t i = 0; i < world.categories.size(); ++i) {
        const CategoryRecord& category = world.categories[i];
        const std::string at = Element("shop.categories", i);
        if (!category.categoryId) {
            Refuse(at + ".categoryId", "a category needs an id");
        }
        if (world.FindCategory(*category.categoryId) != &category) {
            Refuse(at + ".categoryId", "duplicate category id \"" + Narrow(*category.categoryId) + "\"");
        }
        const std::wstring parent = category.parentCategoryId.value_or(std::wstring());
        if (!parent.empty() && world.FindCategory(parent) == nullptr) {
            Refuse(at + ".parentCategoryId", "no category \"" + Narrow(parent) + "\" in shop.categories");
        }
    }
    // Products: each with its own id, in a category that exists.
    std::map<int64_t, std::size_t> seen;
    for (std::size_t i = 0; i < world.products.size(); ++i) {
        const ProductRecord& product = world.products[i];
        const std::string at = Element("shop.products", i);
        if (!value["products"][i].contains("productId")) {
            Refuse(at, "a product needs a productId");
        }
        const auto first = seen.emplace(product.productId, i);
        if (!first.second) {
            Refuse(at + ".productId", "duplicate product id " + std::to_string(product.productId) + " (also " +
                                          Element("shop.products", first.first->second) + ")");
        }
        const std::wstring category = product.categoryId.value_or(std::wstring());
        if (world.FindCategory(category) == nullptr) {
            Refuse(at + ".categoryId", "no category \"" + Narrow(category) + "\" in shop.categories");
        }
    }
}

void ReadTerms(const Json& value, World& world)
{
    struct Terms {
        Text termsText = std::wstring();
        bool agreed = false;
    } terms;
    static const std::vector<Field<Terms>> fields = {F<Terms>("termsText", &Terms::termsText),
                                                     F<Terms>("agreed", &Terms::agreed)};
    ReadFields(value, "terms", fields, terms);
    world.termsText = terms.termsText;
    world.termsAgreed = terms.agreed;
}

void ReadPopups(const Json& value, World& world)
{
    const std::string path = "popups";
    Expect(value, path, Json::value_t::object);
    world.autoPopups.clear();
    world.newsPopups.clear();
    world.couponPopups.clear();
    world.manualPopups.clear();
    for (const auto& [key, member] : value.items()) {
        const std::string at = Member(path, key);
        if (key == "auto") {
            world.autoPopups = ReadList(member, at, PopupFields());
        } else if (key == "news") {
            world.newsPopups = ReadList(member, at, PopupFields());
        } else if (key == "coupon") {
            world.couponPopups = ReadList(member, at, PopupFields());
        } else if (key == "manual") {
            Expect(member, at, Json::value_t::object);
            for (const auto& [manualKey, list] : member.items()) {
                world.manualPopups[Wide(manualKey)] = ReadList(list, Member(at, manualKey), PopupFields());
            }
        } else {
            Refuse(at, "unknown popup kind (known: auto, manual, news, coupon)");
        }
    }
}

void ReadCharacters(const Json& value, World& world)
{
    const std::string path = "characters";
    Expect(value, path, Json::value_t::object);
    world.characterText.clear();
    world.characterTexts.clear();
    for (const auto& [key, member] : value.items()) {
        const std::string at = Member(path, key);
        if (key == "text") {
            Read(member, at, world.characterText);
        } else if (key == "byCharacterId") {
            Expect(member, at, Json::value_t::object);
            for (const auto& [id, text] : member.items()) {
                Read(text, Member(at, id), world.characterTexts[Wide(id)]);
            }
        } else {
            Refuse(at, "unknown field (known: text, byCharacterId)");
        }
    }
}

void ReadOutcomes(const Json& value, World& world)
{
    world.outcomes = ReadList(value, "outcomes", OutcomeFields());
    for (std::size_t i = 0; i < world.outcomes.size(); ++i) {
        if (world.outcomes[i].module == 0 || !value[i].contains("operationCode")) {
            Refuse(Element("outcomes", i), "an outcome needs a module and an operationCode");
        }
    }
}

// A section the profile leaves out keeps the base world's; a section it
// gives replaces that section whole.
void ReadWorld(const Json& root, World& world)
{
    Expect(root, "", Json::value_t::object);
    for (const auto& [key, member] : root.items()) {
        if (key == "$schema") {
            std::wstring ignored;
            Read(member, key, ignored);
        } else if (key == "session") {
            // What an exported session adds (requests and answers): a record, not the world.
        } else if (key == "shop") {
            ReadShop(member, world);
        } else if (key == "inventory") {
            world.inventory = ReadList(member, key, InventoryFields());
        } else if (key == "voidedPurchases") {
            world.voidedPurchases = ReadList(member, key, VoidedFields());
        } else if (key == "terms") {
            ReadTerms(member, world);
        } else if (key == "popups") {
            ReadPopups(member, world);
        } else if (key == "characters") {
            ReadCharacters(member, world);
        } else if (key == "webOpenKey") {
            Read(member, key, world.webOpenKey);
        } else if (key == "latencyMs") {
            Read(member, key, world.latencyMs);
        } else if (key == "interactive") {
            Read(member, key, world.interactive);
        } else if (key == "outcomes") {
            ReadOutcomes(member, world);
        } else {
            Refuse(key, "unknown top-level key (known: $schema, session, shop, inventory, voidedPurchases, terms, popups, "
                        "characters, webOpenKey, latencyMs, interactive, outcomes)");
        }
    }
}

// Line and column (from 1) of a byte offset.
std::string Position(std::string_view text, std::size_t offset)
{
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

// Watches the parser for a key repeated inside one object (the parser
// itself would keep the last value silently) and refuses it with its JSON
// path. One frame per open object or array: the path down to it, the keys
// seen (objects) or the index of the next element (arrays).
class RepeatedKeys {
public:
    bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed)
    {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            frames_.push_back({ElementPath(), event == Json::parse_event_t::array_start, {}, 0, {}});
            break;
        case Json::parse_event_t::key: {
            Frame& object = frames_.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second) {
                Refuse(Member(object.path, object.key), "key repeated in one object");
            }
            break;
        }
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            frames_.pop_back();
            Next();
            break;
        case Json::parse_event_t::value:
            Next();
            break;
        }
        return true;
    }

private:
    struct Frame {
        std::string path;
        bool array;
        std::string key;  // objects: the key of the element being read
        std::size_t index;  // arrays: the element being read
        std::set<std::string> keys;
    };

    // The path of the element now being read.
    std::string ElementPath() const
    {
        if (frames_.empty()) {
            return std::string();
        }
        const Frame& parent = frames_.back();
        return parent.array ? Element(parent.path, parent.index) : Member(parent.path, parent.key);
    }
    void Next()
    {
        if (!frames_.empty() && frames_.back().array) {
            ++frames_.back().index;
        }
    }

    std::vector<Frame> frames_;
};

ProfileResult Refused(uint32_t code, std::string message)
{
    ProfileResult result;
    result.code = code;
    result.message = std::move(message);
    return result;
}

ProfileResult ParseOver(std::string_view text, const std::string& source, const World& base) noexcept
{
    try {
        Json root;
        try {
            root = Json::parse(text.begin(), text.end(), RepeatedKeys());
        } catch (const Json::parse_error& error) {
            // The parser's own text after its position, e.g. "syntax error
            // while parsing object - unexpected '}'; expected string literal".
            std::string what = error.what();
            const std::size_t column = what.find("column ");
            const std::size_t detail = column == std::string::npos ? column : what.find(": ", column);
            what = detail == std::string::npos ? what : what.substr(detail + 2);
            const std::size_t offset = error.byte > 0 ? error.byte - 1 : 0;
            return Refused(TESSEL_RESULT_INVALID_ARGUMENT,
                           source + ":" + Position(text, offset) + ": not valid JSON: " + what);
        } catch (const Json::exception& error) {
            // A number too large for a double, for instance.
            const std::string what = error.what();
            const std::size_t detail = what.find("] ");
            return Refused(TESSEL_RESULT_INVALID_ARGUMENT,
                           source + ": not valid JSON: " + (detail == std::string::npos ? what : what.substr(detail + 2)));
        }
        auto world = std::make_shared<World>(base);
        ReadWorld(root, *world);
        world->profileText = std::string(text);
        ProfileResult result;
        result.world = std::move(world);
        return result;
    } catch (const Refusal& refusal) {
        return Refused(TESSEL_RESULT_INVALID_ARGUMENT,
                       source + ": " + (refusal.path.empty() ? "the profile" : refusal.path) + ": " + refusal.what);
    } catch (const std::bad_alloc&) {
        return Refused(TESSEL_RESULT_OUT_OF_MEMORY, source + ": out of memory while reading the profile");
    } catch (const std::exception& error) {
        return Refused(TESSEL_RESULT_INVALID_ARGUMENT, source + ": " + error.what());
    } catch (...) {
        return Refused(TESSEL_RESULT_INVALID_ARGUMENT, source + ": the profile could not be read");
    }
}

}  // namespace

const ProductRecord* World::FindProduct(int64_t productId) const
{
    for (const ProductRecord& product : products) {
        if (product.productId == productId) {
            return &product;
        }
    }
    return nullptr;
}

const CategoryRecord* World::FindCategory(const std::wstring& categoryId) const
{
    for (const CategoryRecord& category : categories) {
        if (category.categoryId == categoryId) {
            return &category;
        }
    }
    return nullptr;
}

std::shared_ptr<const World> DefaultWorld()
{
    static const std::shared_ptr<const World> world = [] {
        ProfileResult result = ParseOver(DefaultProfileText(), "default profile", World{});
        return result.world ? result.world : std::make_shared<const World>();
    }();
    return world;
}

ProfileResult ParseProfile(std::string_view text, const std::string& source) noexcept
{
    try {
        return ParseOver(text, source, *DefaultWorld());
    } catch (...) {
        return Refused(TESSEL_RESULT_OUT_OF_MEMORY, source + ": out of memory while reading the profile");
    }
}

ProfileResult ReadProfileFile(const std::string& path) noexcept
{
    try {
        // The path is UTF-8; on Windows it is opened as a wide path.
        std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
        if (!file) {
            return Refused(TESSEL_RESULT_NOT_FOUND, path + ": no such profile file");
        }
        std::ostringstream text;
        text << file.rdbuf();
        if (file.bad()) {
            return Refused(TESSEL_RESULT_NOT_FOUND, path + ": the profile file could not be read");
        }
        return ParseProfile(text.str(), path);
    } catch (...) {
        return Refused(TESSEL_RESULT_OUT_OF_MEMORY, path + ": out of memory while reading the profile");
    }
}

namespace {

void AppendJsonStringInside(std::wstring& out, std::wstring_view value)
{
    static const wchar_t kHex[] = L"0123456789abcdef";
    for (const wchar_t c : value) {
        const auto code = static_cast<uint32_t>(c);
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (code < 0x20) {
            out += L"\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 0xF];
        } else {
            out += c;
        }
    }
}

}  // namespace

std::wstring ExpandText(std::wstring_view text, TextValues values, Insert insert)
{
    std::size_t room = text.size();
    for (const auto& value : values) {
        room += value.second.size();
    }
    std::wstring expanded;
    expanded.reserve(room);  // one allocation, unless a name is used twice
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find(L'{', at);
        const std::size_t close = open == std::wstring_view::npos ? open : text.find(L'}', open);
        if (close == std::wstring_view::npos) {
            break;
        }
        const std::wstring_view name = text.substr(open + 1, close - open - 1);
        const auto value = std::find_if(values.begin(), values.end(),
                                        [name](const auto& candidate) { return candidate.first == name; });
        expanded.append(text, at, open - at);
        if (value == values.end()) {
            expanded += L'{';
            at = open + 1;
            continue;
        }
        if (insert == Insert::JsonString) {
            AppendJsonStringInside(expanded, value->second);
        } else {
            expanded += value->second;
        }
        at = close + 1;
    }
    expanded.append(text.substr(std::min(at, text.size())));
    return expanded;
}

}  // namespace plinth
