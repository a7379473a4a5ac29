// The inventory item and the voided purchase.
#include "access.hpp"

namespace Tessel::PCSDK::IAP {

TesselPCInventoryItem::TesselPCInventoryItem()
    : transactionMasterNumber_(0), transactionDetailNumber_(0), productId_(0), quantity_(0)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCInventoryItem)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCInventoryItem, field, Getter)
VENDRA_INVENTORY_ITEM_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

TesselPCVoidedPurchase::TesselPCVoidedPurchase()
    : tid_(0), characterNo_(0), purchaseMillis_(0), voidedMillis_(0)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCVoidedPurchase)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCVoidedPurchase, field, Getter)
VENDRA_VOIDED_PURCHASE_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

}  // namespace Tessel::PCSDK::IAP
