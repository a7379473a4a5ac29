// The console's request handling as one function of (method, target,
// headers, body): the gate first (token, Host, Origin, body size), then the
// page, the views (GET /api/...) and the actions (POST /api/...). Views copy
// the sandbox's state under its own locks; actions go through the same
// functions as the control surface, so that the console follows the
// sandbox's rules rather than keeping its own copy of them.
#include <cctype>
#include <chrono>
#include <exception>

#include <nlohmann/json.hpp>

#include "tools/console/console.hpp"
#include "tools/console/books.hpp"
#include "tools/interactive.hpp"
#include "tools/outcomes.hpp"
#include "world/popups.hpp"
#include "world/profile.hpp"
#include "tessel/base/TesselBase.h"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/TesselSandbox.h"
#include "platform/text.hpp"

namespace plinth::console {
namespace {

using Json = nlohmann::json;
namespace Sandbox = Tessel::PCSDK::Sandbox;

// A refusal or a fault the client caused: its status and message.
struct Refusal {
    int status;
    std::string message;
};

[[noreturn]] void Refuse(int status, std::string message) { throw Refusal{status, std::move(message)}; }

Answer JsonAnswer(int status, const Json& body)
{
    Answer answer;
    answer.status = status;
    answer.body = body.dump(-1, ' ', false, Json::error_handler_t::replace);
    return answer;
}

Answer Error(int status, const std::string& message) { return JsonAnswer(status, Json{{"error", message}}); }

std::string Lower(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

const std::string* Header(const Request& request, const std::string& name)
{
    for (const auto& [key, value] : request.headers) {
        if (Lower(key) == name) {
            return &value;
        }
    }
    return nullptr;
}

// The value of one query parameter (no percent-decoding: tokens and ids are
// plain), or empty.
std::string QueryValue(std::string_view query, std::string_view name)
{
    while (!query.empty()) {
        const std::size_t end = query.find('&');
        const std::string_view pair = query.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name && equals != std::string_view::npos) {
            return std::string(pair.substr(equals + 1));
        }
        query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    }
    return {};
}

// Compares without an early exit, so that the time taken says nothing of
// how much of a guess was right.
bool SameToken(const std::string& given, const std::string& token)
{
    unsigned char difference = given.size() == token.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i) {
        difference |= static_cast<unsigned char>(given[i] ^ token[i % (token.empty() ? 1 : token.size())]);
    }
    return difference == 0 && !token.empty();
}

bool LoopbackName(const std::string& value, const std::string& port, const char* scheme)
{
    for (const char* name : {"127.0.0.1:", "localhost:"}) {
        if (Lower(value) == scheme + (name + port)) {
            return true;
        }
    }
    return false;
}

bool Changes(const std::string& method) { return method != "GET" && method != "HEAD"; }

// Lets a request through or refuses it. A browser page from another site
// can send requests here (its Host then names that site: DNS rebinding) or
// post to the console (its Origin names the other site); neither carries the
// token, and the console offers no CORS, so no other site reads an answer.
void Check(const Gate& gate, const Request& request, std::string_view query)
{
    const std::string port = std::to_string(gate.port);
    const std::string* host = Header(request, "host");
    if (host == nullptr || !LoopbackName(*host, port, "")) {
        Refuse(421, "the Host header must be 127.0.0.1:" + port + " or localhost:" + port);
    }
    const std::string* origin = Header(request, "origin");
    if (Changes(request.method) && origin != nullptr && !LoopbackName(*origin, port, "http://")) {
        Refuse(403, "a request from another origin may not change the sandbox");
    }
    std::string token = QueryValue(query, "token");
    if (const std::string* header = Header(request, "x-tessel-token")) {
        token = *header;
    }
    if (token.empty()) {
        Refuse(401, "the console's token is missing: add ?token=... or an X-Tessel-Token header");
    }
    if (!SameToken(token, gate.token)) {
        Refuse(403, "wrong token");
    }
    if (request.body.size() > kBodyLimit) {
        Refuse(413, "the body is larger than " + std::to_string(kBodyLimit) + " bytes");
    }
}

Json ParseBody(const Request& request)
{
    if (request.body.empty()) {
        return Json::object();
    }
    try {
        Json body = Json::parse(request.body);
        if (!body.is_object()) {
            Refuse(400, "the body must be a JSON object");
        }
        return body;
    } catch (const Json::exception& error) {
        Refuse(400, std::string("the body is not valid JSON: ") + error.what());
    }
}

int64_t NeedInteger(const Json& body, const char* name)
{
    const auto found = body.find(name);
    if (found == body.end() || !found->is_number_integer()) {
        Refuse(400, std::string("\"") + name + "\" must be an integer");
    }
    return found->get<int64_t>();
}

// Reads one record of a profile section through the profile loader, so that
// the console takes exactly what a profile takes (field names, types, checks).
std::shared_ptr<const World> ThroughProfile(const char* section, const Json& record)
{
    const Json wrapped = {{section, Json::array({record})}};
    ProfileResult result = ParseProfile(wrapped.dump(), "body");
    if (!result.world) {
        Refuse(400, result.message);
    }
    return std::move(result.world);
}

int64_t NowMillis()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// --- Views ------------------------------------------------------------------------

Json InventoryJson(const std::vector<Sandbox::InventoryItem>& inventory)
{
    Json items = Json::array();
    for (const Sandbox::InventoryItem& item : inventory) {
        items.push_back({{"transactionMasterNumber", item.transactionMasterNumber},
                         {"transactionDetailNumber", item.transactionDetailNumber},
                         {"productId", item.productId},
                         {"gameItemId", Utf8Text(item.gameItemId)},
                         {"productName", Utf8Text(item.productName)},
                         {"quantity", item.quantity},
                         {"thumbnailUrl", Utf8Text(item.thumbnailUrl)}});
    }
    return items;
}

Json TransactionsJson(const ShopBooks& books)
{
    Json transactions = Json::array();
    for (const BookTransaction& transaction : books.transactions) {
        Json lines = Json::array();
        for (const BookLine& line : transaction.lines) {
            lines.push_back({{"transactionDetailNumber", line.detailNumber},
                             {"productId", line.productId},
                             {"quantity", line.quantity},
                             {"paid", line.paid}});
        }
        transactions.push_back({{"transactionMasterNumber", transaction.masterNumber},
                                {"state", transaction.confirmed ? "confirmed" : "purchased"},
                                {"lines", std::move(lines)}});
    }
    for (const Refund& refund : books.refunds) {
        transactions.push_back(
            {{"transactionMasterNumber", refund.tid}, {"state", "refunded"}, {"productId", refund.productId}});
    }
    return transactions;
}

Json VoidedJson(const World& world, const ShopBooks& books)
{
    Json voided = Json::array();
    for (const VoidedRecord& record : world.voidedPurchases) {
        voided.push_back({{"tid", record.tid},
                          {"productId", Utf8Text(record.productId)},
                          {"purchaseMillis", record.purchaseMillis},
                          {"voidedMillis", record.voidedMillis},
                          {"refunded", false}});
    }
    for (const Refund& refund : books.refunds) {
        voided.push_back({{"tid", refund.tid},
                          {"productId", std::to_string(refund.productId)},
                          {"purchaseMillis", 0},
                          {"voidedMillis", refund.voidedMillis},
                          {"refunded", true}});
    }
    return voided;
}

Json PopupsJson()
{
    Json popups = Json::array();
    for (const Sandbox::ShownPopup& popup : Sandbox::OpenPopups()) {
        popups.push_back({{"id", popup.id}, {"kind", Utf8(popup.kind)}});
    }
    return popups;
}

Json LinesJson(const std::vector<WindowLine>& lines, bool priced)
{
    Json list = Json::array();
    for (const WindowLine& line : lines) {
        Json entry = {{"productId", line.productId}, {"name", Utf8(line.name)}, {"quantity", line.quantity}};
        if (priced) {
            entry["displayPrice"] = Utf8(line.displayPrice);
        }
        list.push_back(std::move(entry));
    }
    return list;
}

Json TextsJson(const std::vector<std::wstring>& texts)
{
    Json list = Json::array();
    for (const std::wstring& text : texts) {
        list.push_back(Utf8(text));
    }
    return list;
}

Json WaitingJson()
{
    Json windows = Json::array();
    for (const WindowView& window : WaitingWindows()) {
        Json entry = {{"id", window.id}, {"kind", Utf8(window.kind)}, {"operationCode", window.operation}};
        if (window.kind == L"purchase") {
            entry["products"] = LinesJson(window.lines, true);
            entry["total"] = Utf8(window.total);
            entry["paymentMethods"] = TextsJson(window.paymentMethods);
        } else if (window.kind == L"payment") {
            entry["operation"] = window.asked;
            entry["paymentMethods"] = TextsJson(window.paymentMethods);
        } else if (window.kind == L"terms") {
            entry["operation"] = window.asked;
            entry["termsText"] = Utf8(window.termsText);
        } else if (window.kind == L"withdraw") {
            entry["items"] = LinesJson(window.lines, false);
        } else if (window.kind == L"identity") {
            entry["adultCheck"] = window.adultCheck;
        } else {
            Json popups = Json::array();
            for (const WindowPopup& popup : window.popups) {
                popups.push_back({{"popupId", popup.popupId},
                                  {"title", Utf8(popup.title)},
                                  {"link", Utf8(popup.link)},
                                  {"image", Utf8(popup.image)},
                                  {"closeButton", popup.closeButton}});
            }
            entry["popups"] = std::move(popups);
        }
        Json choices = Json::array();
        for (const Choice choice : window.choices) {
            choices.push_back(ChoiceName(choice));
        }
        entry["choices"] = std::move(choices);
        windows.push_back(std::move(entry));
    }
    return windows;
}

Choice ChoiceOf(const Json& body)
{
    const auto found = body.find("choice");
    if (found == body.end() || !found->is_string()) {
        Refuse(400, "\"choice\" must be " + ChoiceNames());
    }
    Choice choice = Choice::Close;
    if (!ChoiceNamed(found->get<std::string>(), choice)) {
        Refuse(400, "no choice \"" + found->get<std::string>() + "\": " + ChoiceNames());
    }
    return choice;
}

// An optional integer field, fallback when absent.
int64_t OptionalInteger(const Json& body, const char* name, int64_t fallback)
{
    return body.contains(name) ? NeedInteger(body, name) : fallback;
}

Json LogsJson()
{
    Json logs = Json::array();
    for (const auto& log : Sandbox::SentLogs()) {
        logs.push_back({{"auid", log.auid},
                        {"cuid", log.cuid},
                        {"logGroupId", log.logGroupId ? Json(Utf8(*log.logGroupId)) : Json()},
                        {"contents", log.contents ? Json(Utf8(*log.contents)) : Json()}});
    }
    return logs;
}

// The character fetches of the timeline, with their parameters and results.
Json CharactersJson(const Json& timeline)
{
    Json fetched = Json::array();
    for (const Json& entry : timeline["requests"]) {
        if (entry["module"] == "Ludex") {
            fetched.push_back(entry);
        }
    }
    return fetched;
}

Json StateJson()
{
    const ShopBooks books = ReadShopBooks();
    const std::shared_ptr<const World> world = CurrentWorld();
    const Json timeline = Json::parse(TimelineJson());
    return {{"requests", timeline["requests"]},
            {"events", timeline["events"]},
            {"popups", PopupsJson()},
            {"transactions", TransactionsJson(books)},
            {"inventory", InventoryJson(books.inventory)},
            {"voidedPurchases", VoidedJson(*world, books)},
            {"terms", {{"agreed", books.termsAgreed}, {"termsText", Utf8Text(world->termsText)}}},
            {"logs", LogsJson()},
            {"characters", CharactersJson(timeline)},
            {"latencyMs", Latency()},
            {"interactive", InteractiveMode()},
            {"waiting", WaitingJson()}};
}

// The session as a profile that loads back: the profile it was played in,
// with the player's inventory, voided purchases, terms agreement and latency
// as they are now, and what happened under "session".
Json SessionJson()
{
    const ShopBooks books = ReadShopBooks();
    const std::shared_ptr<const World> world = CurrentWorld();
    Json profile = world->profileText.empty() ? Json::object() : Json::parse(world->profileText);
    Json inventory = InventoryJson(books.inventory);
    profile["inventory"] = inventory;
    Json voided = VoidedJson(*world, books);
    for (Json& record : voided) {
        record.erase("refunded");
    }
    profile["voidedPurchases"] = voided;
    profile["terms"] = {{"termsText", Utf8Text(world->termsText)}, {"agreed", books.termsAgreed}};
    profile["latencyMs"] = Latency();
    profile["interactive"] = InteractiveMode();
    const Json timeline = Json::parse(TimelineJson());
    profile["session"] = {{"exportedMillis", NowMillis()},
                          {"requests", timeline["requests"]},
                          {"events", timeline["events"]},
                          {"transactions", TransactionsJson(books)}};
    profile.erase("$schema");
    return profile;
}

Answer View(const std::string& path)
{
    if (path == "/api/state") {
        return JsonAnswer(200, StateJson());
    }
    if (path == "/api/session") {
        return JsonAnswer(200, SessionJson());
    }
    if (path == "/api/interactive") {
        return JsonAnswer(200, Json{{"interactive", InteractiveMode()}});
    }
    const Json state = StateJson();
    static const char* const kViews[] = {"requests", "events", "popups", "transactions", "inventory",
                                         "voidedPurchases", "terms", "logs", "characters", "latencyMs",
                                         "waiting"};
    for (const char* view : kViews) {
        if (path == std::string("/api/") + view) {
            return JsonAnswer(200, state[view]);
        }
    }
    Refuse(404, "no view " + path);
}

// --- Actions ----------------------------------------------------------------------

Json Act(const std::string& path, const Json& body)
{
    if (path == "/api/refund") {
        const int64_t master = NeedInteger(body, "transactionMasterNumber");
        if (!RefundTransaction(master, NowMillis())) {
            Refuse(404, "no transaction " + std::to_string(master));
        }
        return {{"refunded", master}};
    }
    if (path == "/api/inventory/grant") {
        const std::shared_ptr<const World> world = ThroughProfile("inventory", body);
        return {{"transactionDetailNumber", GrantItem(world->inventory.at(0))}};
    }
    if (path == "/api/inventory/remove") {
        const int64_t detail = NeedInteger(body, "transactionDetailNumber");
        if (!RemoveItem(detail)) {
            Refuse(404, "the player holds no item " + std::to_string(detail));
        }
        return {{"removed", detail}};
    }
    if (path == "/api/latency") {
        const int64_t milliseconds = NeedInteger(body, "milliseconds");
        if (milliseconds < 0 || milliseconds > 3600000) {
            Refuse(400, "\"milliseconds\" must be 0 to 3600000");
        }
        SetLatency(static_cast<uint32_t>(milliseconds));
        return {{"latencyMs", milliseconds}};
    }
    if (path == "/api/outcomes") {
        // An outcome as a profile gives one; pushed like TesselSandbox_PushOutcome's.
        PushOutcome(ThroughProfile("outcomes", body)->outcomes.at(0));
        return {{"pushed", true}};
    }
    if (path == "/api/outcomes/clear") {
        ClearPushedOutcomes();
        return {{"cleared", true}};
    }
    if (path == "/api/popups/close") {
        const int64_t id = NeedInteger(body, "id");
        if (id < 0 || !ClosePopupById(static_cast<uint64_t>(id))) {
            Refuse(404, "no open popup " + std::to_string(id));
        }
        return {{"closed", id}};
    }
    if (path == "/api/popups/close-all") {
        return {{"closed", CloseEveryPopup()}};
    }
    if (path == "/api/interactive") {
        const auto on = body.find("interactive");
        if (on == body.end() || !on->is_boolean()) {
            Refuse(400, "\"interactive\" must be true or false");
        }
        SetInteractiveMode(on->get<bool>());
        return {{"interactive", on->get<bool>()}};
    }
    if (path == "/api/waiting/choose") {
        const int64_t id = NeedInteger(body, "id");
        const Choice choice = ChoiceOf(body);
        const int64_t option = choice == Choice::OpenLink ? OptionalInteger(body, "popup", 0)
                                                           : OptionalInteger(body, "closeButton", -1);
        std::string why;
        const ChoiceAnswer answer =
            id < 0 || option < INT32_MIN || option > INT32_MAX
                ? (id < 0 ? ChoiceAnswer::UnknownWindow : ChoiceAnswer::NotOffered)
                : ChooseWindow(static_cast<uint64_t>(id), choice, static_cast<int32_t>(option), why);
        if (answer == ChoiceAnswer::UnknownWindow) {
            Refuse(404, "no waiting window " + std::to_string(id));
        }
        if (answer == ChoiceAnswer::NotOffered) {
            Refuse(400, why.empty() ? "the option is out of range" : why);
        }
        return {{"answered", id}, {"choice", body["choice"]}};
    }
    if (path == "/api/profile") {
        const ProfileResult result = ParseProfile(body.dump(), "profile");
        if (UseProfile(result) != TESSEL_RESULT_SUCCESS) {
            Refuse(400, result.message);
        }
        return {{"loaded", true}};
    }
    if (path == "/api/clock") {
        const auto manual = body.find("manual");
        if (manual == body.end() || !manual->is_boolean()) {
            Refuse(400, "\"manual\" must be true or false");
        }
        TesselSandbox_SetManualClock(manual->get<bool>() ? 1 : 0);
        return {{"manual", manual->get<bool>()}};
    }
    if (path == "/api/clock/advance") {
        const int64_t milliseconds = NeedInteger(body, "milliseconds");
        if (milliseconds < 0 || milliseconds > UINT32_MAX) {
            Refuse(400, "\"milliseconds\" must be 0 to 4294967295");
        }
        TesselSandbox_AdvanceClock(static_cast<uint32_t>(milliseconds));
        return {{"advanced", milliseconds}};
    }
    if (path == "/api/reset") {
        // The world as its profile started it: the player's history and the
        // pushed outcomes gone, the timeline emptied.
        ClearPushedOutcomes();
        EndWaitingWindows();
        UseProfile(ProfileResult{TESSEL_RESULT_SUCCESS, {}, CurrentWorld()});
        ClearTimeline();
        return {{"reset", true}};
    }
    Refuse(404, "no action " + path);
}

}  // namespace

Answer Handle(const Gate& gate, const Request& request) noexcept
{
    try {
        const std::size_t mark = request.target.find('?');
        const std::string path = request.target.substr(0, mark);
        const std::string_view query =
            mark == std::string::npos ? std::string_view() : std::string_view(request.target).substr(mark + 1);
        Check(gate, request, query);
        if (request.method == "GET" && (path == "/" || path == "/index.html")) {
            Answer page;
            page.contentType = "text/html; charset=utf-8";
            page.body = std::string(ConsolePageText());
            return page;
        }
        if (path.rfind("/api/", 0) != 0) {
            return Error(404, "no page " + path);
        }
        if (request.method == "GET") {
            return View(path);
        }
        if (request.method == "POST") {
            const Json result = Act(path, ParseBody(request));
            NoteChange();
            return JsonAnswer(200, result);
        }
        return Error(405, "method " + request.method + " is not allowed (GET views, POST actions)");
    } catch (const Refusal& refusal) {
        try {
            return Error(refusal.status, refusal.message);
        } catch (...) {
        }
    } catch (const std::exception& error) {
        try {
            return Error(500, error.what());
        } catch (...) {
        }
    } catch (...) {
    }
    Answer failed;
    failed.status = 500;
    failed.body = "{}";
    return failed;
}

}  // namespace plinth::console
