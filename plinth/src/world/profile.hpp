// The sandbox's world as data: a profile (JSON) read into a World, checked
// completely before anything uses it, and the world the sandbox answers
// from now (the embedded default profile until another one is loaded).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/outcomes.hpp"
#include "tessel/base/Records.hpp"
#include "tessel/sandbox/SandboxShop.hpp"

namespace plinth {

using Tessel::PCSDK::Sandbox::Text;

// One record per C record of the public headers, field for field; a field
// the profile leaves out keeps the default given here.
struct CategoryRecord {
    Text categoryId = std::wstring();
    Text parentCategoryId = std::wstring();
    int32_t displayNumber = 0;
    Text name = std::wstring();
    int32_t depth = 0;
};

struct ProductRecord : Tessel::PCSDK::Sandbox::ProductFields {
    // The availability reported while the purchase limit is not reached.
    int16_t purchaseAvailabilityCode = 0;
};

struct InventoryRecord {
    int64_t transactionMasterNumber = 0;
    int64_t transactionDetailNumber = 0;
    int64_t productId = 0;
    Text gameItemId = std::wstring();
    Text productName = std::wstring();
    int32_t quantity = 0;
    Text thumbnailUrl = std::wstring();
};

struct VoidedRecord {
    int64_t tid = 0;
    Text marketCode = std::wstring();
    Text productId = std::wstring();
    Text marketProductId = std::wstring();
    Text userId = std::wstring();
    int64_t characterNo = 0;
    int64_t purchaseMillis = 0;
    int64_t voidedMillis = 0;
};

using PopupRecords = std::vector<Tessel::PCSDK::View::TesselPCPopupCpp>;

// A profile's outcome rules are the sandbox's own (its "outcomes", named
// after the fields of the control surface's TesselSandboxOutcome).
using OutcomeRecord = OutcomeRule;

struct World {
    std::vector<CategoryRecord> categories;
    std::vector<ProductRecord> products;
    std::vector<InventoryRecord> inventory;  // what the player holds at start
    std::vector<VoidedRecord> voidedPurchases;
    Text termsText = std::wstring();
    bool termsAgreed = false;  // at start
    PopupRecords autoPopups;
    PopupRecords newsPopups;
    PopupRecords couponPopups;
    std::map<std::wstring, PopupRecords> manualPopups;  // by key
    // Character texts: {characterId} and {serverId} are replaced by the
    // request's; a text per character id wins over the common one.
    std::wstring characterText;
    std::map<std::wstring, std::wstring, std::less<>> characterTexts;
    // {serial} is replaced by 1, 2, ... per key handed out.
    std::wstring webOpenKey;
    uint32_t latencyMs = 0;
    // Windows and popups wait for the player's choice in the console.
    bool interactive = false;
    std::vector<OutcomeRecord> outcomes;
    // The profile's own text, so that an exported session carries the
    // world it was played in.
    std::string profileText;

    const ProductRecord* FindProduct(int64_t productId) const;
    const CategoryRecord* FindCategory(const std::wstring& categoryId) const;
};

// The outcome of reading a profile: code is TESSEL_RESULT_SUCCESS with a
// world, or INVALID_ARGUMENT (not JSON, or not a profile), NOT_FOUND (no
// such file) or OUT_OF_MEMORY with one message naming the source, where
// (line and column, or the JSON path) and what is wrong.
struct ProfileResult {
    uint32_t code = 0;
    std::string message;
    std::shared_ptr<const World> world;
};

// Reads a profile from JSON text over the default world; source names it in
// messages. Throws nothing.
ProfileResult ParseProfile(std::string_view text, const std::string& source) noexcept;

// Reads the profile file at path (UTF-8). Throws nothing.
ProfileResult ReadProfileFile(const std::string& path) noexcept;

// The embedded default profile's text, and the world it describes (empty
// if it could not be read, which its tests rule out).
std::string_view DefaultProfileText();
std::shared_ptr<const World> DefaultWorld();

// Replaces each {name} in text by its value, in one pass (a value's own
// braces are kept); other braces stay as they are. JsonString inserts the
// values as the inside of a JSON string (quotes, backslashes and control
// characters escaped), for a text that is JSON with {name} between quotes.
using TextValues = std::initializer_list<std::pair<std::wstring_view, std::wstring_view>>;
enum class Insert { AsIs, JsonString };
std::wstring ExpandText(std::wstring_view text, TextValues values, Insert insert = Insert::AsIs);

}  // namespace plinth

// --- The world the running sandbox answers from ---------------------------------

namespace plinth {

// The current world; never null (the default world until a profile is loaded).
std::shared_ptr<const World> CurrentWorld();

// Makes a read profile the current world and seeds each feature's state
// from it; a refused one changes nothing. Either way the message (empty on
// success) becomes the last profile message and a refusal is printed as
// one line on the standard error stream. Returns the result code.
uint32_t UseProfile(const ProfileResult& result) noexcept;

// The message of the last profile that was refused (empty after a success),
// valid until the next profile is taken or refused.
const char* LastProfileMessageText() noexcept;

// Loads the profile named by the TESSEL_SANDBOX_PROFILE environment variable,
// if it is set and not empty; TESSEL_RESULT_SUCCESS otherwise.
uint32_t UseProfileFromEnvironment() noexcept;

// Each feature that keeps state seeded from the world (the player's
// inventory, the terms agreement) registers its seed function with a static
// WorldSeed object; seeds run whenever a profile is taken into use.
struct WorldSeed {
    explicit WorldSeed(void (*seed)(const World& world));
};

}  // namespace plinth
