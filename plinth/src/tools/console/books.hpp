// The shop's books as the console reads and edits them: transactions, the
// player's inventory, refunds and the terms agreement. Defined in shop.cpp
// beside the shop's state; each call takes the shop's lock once, copies or
// applies, and lets it go, so that a console client never holds up a request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel/sandbox/SandboxShop.hpp"

namespace plinth {

struct InventoryRecord;  // profile.hpp

struct BookLine {
    int64_t detailNumber = 0;
    int64_t productId = 0;
    int32_t quantity = 0;
    double paid = 0;
};

struct BookTransaction {
    int64_t masterNumber = 0;
    bool confirmed = false;
    std::vector<BookLine> lines;
};

// A refund as the voided-purchases answer reports it.
struct Refund {
    int64_t tid = 0;
    int64_t productId = 0;
    int64_t voidedMillis = 0;
};

struct ShopBooks {
    std::vector<BookTransaction> transactions;  // by master number
    std::vector<Tessel::PCSDK::Sandbox::InventoryItem> inventory;
    std::vector<Refund> refunds;
    bool termsAgreed = false;
};

ShopBooks ReadShopBooks();

// Voids a transaction as a refund: its items leave the inventory, it stops
// counting towards purchase limits, and each of its lines is answered as a
// voided purchase from then on. False when there is no such transaction.
bool RefundTransaction(int64_t masterNumber, int64_t voidedMillis);

// Puts an item into the player's inventory (its detail number is the shop's
// next one when zero) and returns that detail number; takes an item out by
// detail number (false when the player holds none).
int64_t GrantItem(const InventoryRecord& record);
bool RemoveItem(int64_t detailNumber);

}  // namespace plinth
