// Vendra's catalog: shop categories and pages of products, plain and
// extended.
#include "params.hpp"
#include "requests.hpp"

namespace vendra {
namespace {

template <class Reply>
void FetchShopCategories(const Reply& reply)
{
    RequestList(kFetchShopCategories, reply, [] { return rt::NoParam{}; },
                &ListTrampoline<Reply, &ReadShopCategory>, &Tessel_FetchShopCategories);
}

template <class Reply, class Param>
void FetchProducts(const Param* param, const Reply& reply)
{
    RequestList(kFetchProducts, reply, rt::Prepare([param] { return ReadFetchProductParam(param); }, &BuildProductPageParam),
                &ListTrampoline<Reply, &ReadProduct>, &Tessel_FetchProducts);
}

template <class Reply, class Param>
void FetchProductsEx(const Param* param, const Reply& reply)
{
    RequestList(kFetchProducts, reply, rt::Prepare([param] { return ReadFetchProductParam(param); }, &BuildProductPageParam),
                &ArrayTrampoline<Reply, &ReadProductEx>, &Tessel_Internal_IAP_FetchProductsEx);
}

}  // namespace
}  // namespace vendra

using namespace vendra;

extern "C" {

void TesselAPI_FetchShopCategories(TesselShopCategoriesCallback callback, void* context)
{
    FetchShopCategories(rt::CReply<TesselShopCategoriesCallback>{callback, context});
}

void TesselAPI_FetchProducts(const TesselFetchProductParam* param, TesselProductsCallback callback, void* context)
{
    FetchProducts(param, rt::CReply<TesselProductsCallback>{callback, context});
}

void TesselAPI_FetchProductsEx(const TesselFetchProductParam* param, TesselProductsExCallback callback,
                               void* context)
{
    FetchProductsEx(param, rt::CReply<TesselProductsExCallback>{callback, context});
}

}  // extern "C"

namespace Tessel::PCSDK::IAP {

void IAP_FetchShopCategories(FetchShopCategoriesCallback callback)
{
    vendra::FetchShopCategories(rt::CppReply<FetchShopCategoriesCallback>{callback});
}

void IAP_FetchProducts(const TesselPCFetchProductParam* param, FetchProductsCallback callback)
{
    vendra::FetchProducts(param, rt::CppReply<FetchProductsCallback>{callback});
}

void IAP_FetchProductsEx(const TesselPCFetchProductParam* param, FetchProductsExCallback callback)
{
    vendra::FetchProductsEx(param, rt::CppReply<FetchProductsExCallback>{callback});
}

}  // namespace Tessel::PCSDK::IAP
