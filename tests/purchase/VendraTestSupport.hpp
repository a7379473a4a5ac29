// Shared by the Vendra request tests: a fixture with the module initialized
// against the scripted platform, a log of what the game's callbacks saw, and
// the callbacks of both interfaces that fill it.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "TestSupport.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/vendra/Vendra.hpp"

namespace vendra_test {

using namespace tessel::test;
namespace IAP = Tessel::PCSDK::IAP;

// One callback call as the callback saw it. Lists are flattened: for each
// element, its texts go to texts and its numbers to numbers, in field order.
struct Event {
    std::string what;
    Outcome outcome;
    bool arrayWasNull = false;
    unsigned count = 0;
    bool flag = false;
    std::vector<TextCopy> texts;
    std::vector<long long> numbers;
};

extern std::vector<Event> g_events;
extern int g_context;
extern int g_destroyContext;

// --- C callbacks ---
void CCategories(const TesselAPICallbackResult* r, const TesselShopCategory* items, unsigned count);
void CProducts(const TesselAPICallbackResult* r, const TesselProduct* items, unsigned count);
void CProductsEx(const TesselAPICallbackResult* r, const TesselProductEx* items, unsigned count);
void CPurchase(const TesselAPICallbackResult* r, const TesselPurchaseResult* purchase);
void CConfirm(const TesselAPICallbackResult* r, bool ok, const TesselPurchasedProduct* products, unsigned np,
              const TesselChargeInfo* charges, unsigned nc);
void CPayment(const TesselAPICallbackResult* r, const wchar_t* text);
void CInventory(const TesselAPICallbackResult* r, const TesselInventoryItem* items, unsigned count);
void CTerms(const TesselAPICallbackResult* r, bool agreed, const wchar_t* text);
void CVoided(const TesselAPICallbackResult* r, const TesselVoidedPurchase* items, unsigned count);
void CWithdraw(TesselAPICallbackResult* r, bool withdrawn);
void COnDestroy(TesselAPICallbackResult* r);

// --- C++ callbacks ---
void CppCategories(Tessel::PCSDK::CallbackResult r, IAP::TesselPCShopCategory* items, unsigned count);
void CppProducts(Tessel::PCSDK::CallbackResult r, IAP::TesselPCProduct* items, unsigned count);
void CppProductsEx(Tessel::PCSDK::CallbackResult r, IAP::TesselPCProductEx* items, unsigned count);
void CppPurchase(Tessel::PCSDK::CallbackResult r, IAP::TesselPCPurchaseResult purchase);
void CppConfirm(Tessel::PCSDK::CallbackResult r, bool ok, IAP::TesselPCPurchasedProduct* products, unsigned np,
                IAP::TesselPCChargeInfo* charges, unsigned nc);
void CppPayment(Tessel::PCSDK::CallbackResult r, const wchar_t* text);
void CppInventory(Tessel::PCSDK::CallbackResult r, IAP::TesselPCInventoryItem* items, unsigned count);
void CppTerms(Tessel::PCSDK::CallbackResult r, bool agreed, const wchar_t* text);
void CppVoided(Tessel::PCSDK::CallbackResult r, IAP::TesselPCVoidedPurchase* items, unsigned count);
void CppWithdraw(Tessel::PCSDK::CallbackResult r, bool withdrawn);
void CppOnDestroy(Tessel::PCSDK::CallbackResult r);

// The names of the events, in order.
std::vector<std::string> EventNames();

// Vendra initialized against the scripted platform. Requests a test leaves
// unfinished are finished quietly at the end (a popup as not created, a
// payment's destroy context through its destroy trampoline), so that the
// leak checker sees only what the module leaks.
class VendraTest : public ScriptedTest {
protected:
    void SetUp() override;
    void TearDown() override;
    static void Initialize();

    static const Sandbox::RequestRecord& Request(std::size_t index);
    // Calls request index's result trampoline with a callback-result object
    // carrying its context, the codes and data.
    void Finish(std::size_t index, Base::IObject* data, uint32_t resultCode = 0);
    void FinishArray(std::size_t index, Base::IObject* const* items, uint32_t count);
    void FinishText(std::size_t index, const wchar_t* text, uint32_t resultCode = 0);
    // Calls the destroy trampoline with the second context.
    void Destroy(std::size_t index, uint32_t resultCode = 0);

private:
    std::set<std::size_t> finished_;
    std::set<std::size_t> destroyed_;
};

}  // namespace vendra_test
