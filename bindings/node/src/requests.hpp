// The requests in flight: the one place of the binding that registers a
// request, matches its answer and finishes it.
//
// The rule, once:
// 1. The void* context handed to the C interface is an id, never a pointer.
//    Register() files the request's settle function (a strong reference:
//    nothing is collected while it waits) under a new id; ids only grow, in
//    the whole process, so an id is never used twice.
// 2. Finish() takes the entry out before calling JavaScript, so every
//    request settles once; an answer whose id is unknown (late, second, or
//    of an environment that is gone) is counted and does nothing else.
// 3. Answers are delivered only inside runCallbacks() of the environment
//    that owns the table. A second JavaScript environment of the process is
//    refused when it loads the addon (the platform has one queue for the
//    whole process, so two tables could not tell their answers apart).
// 4. When the platform is uninitialized, its pending callbacks are dropped;
//    Abandon() then settles every request still in the table once, with
//    code 17 and empty data, also when the shutdown came from a callback.
// 5. When the owning environment ends (a page reload, a worker terminated,
//    process exit) its cleanup hook drops the table's references without
//    calling JavaScript; answers that arrive afterwards find no id (rule 2).
//
// Popup list fetches take no context: they are matched by sending one at a
// time per kind of list (a lane); the next one waits for the answer before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "napi.hpp"
#include "tessel/base/TesselBase.h"

namespace tessel_node {

// What a trampoline hands over besides the result record: its raw arguments.
struct Raw {
    const void* list = nullptr;
    unsigned count = 0;
    const void* list2 = nullptr;
    unsigned count2 = 0;
    bool flag = false;
    const wchar_t* text = nullptr;
};

// Makes the data of an answer (JavaScript values) from its raw arguments;
// given an empty Raw it makes the empty data of a failed answer.
using Convert = napi_value (*)(napi_env env, const Raw& raw);

// The popup list lanes and how a waiting fetch of a lane is sent.
enum Lane : int { kNoLane = -1, kAutoLane, kManualLane, kNewsLane, kCouponLane, kLaneCount };
using LaneSend = void (*)(const wchar_t* key);

// Claims the table for @p env, or throws an Error when another environment holds it.
void ClaimEnvironment(Napi::Env env);

// Files a request; @p settle is called once with its result object. Returns the context to pass to C.
void* Register(Napi::Env env, const Napi::Value& settle, Convert convert, uint32_t operation, const wchar_t* module);
// Files a list fetch on a lane; true when it is to be sent now (the lane was idle).
bool RegisterOnLane(Napi::Env env, const Napi::Value& settle, Convert convert, uint32_t operation,
                    const wchar_t* module, Lane lane, LaneSend send, const wchar_t* key);

// Finishes the request of @p context with the answer (called by the trampolines).
void Finish(void* context, const TesselAPICallbackResult* result, const Raw& raw) noexcept;
// Finishes the oldest fetch of a lane and sends the next one waiting.
void FinishLane(Lane lane, const TesselAPICallbackResult* result, const Raw& raw) noexcept;

// Settles every request in the table (the platform was uninitialized).
void Abandon(Napi::Env env);

// Runs Tessel_RunCallbacks with answers delivered; rethrows the first error a callback threw.
uint32_t Pump(Napi::Env env);

// Counters for tests and tools.
size_t PendingCount();
uint64_t StrayAnswers();

// A JavaScript result object from a synchronous result record.
napi_value SyncResult(napi_env env, const TesselAPIResult& result, napi_value data);

// The shape of the objects one converter builds: its property names, and a
// JavaScript function made from them on first use that returns an object
// literal of its arguments (an engine builds those far faster than objects
// given one property at a time). Shapes are statics of the converters; the
// functions belong to the environment and are dropped with it.
struct Shape {
    Shape();
    napi_ref factory = nullptr;  // (v0, v1, ...) => ({name0: v0, ...})
    napi_ref caller = nullptr;   // (f, v0, v1, ...) => f({name0: v0, ...})
    std::vector<const char*> names;
    Shape* next = nullptr;
};

// Builds one object of a shape: its values in the shape's order.
class ObjectBuilder {
public:
    ObjectBuilder(napi_env env, Shape& shape) : env_(env), shape_(shape) {}
    ObjectBuilder& Add(const char* name, napi_value value);
    ObjectBuilder& Number(const char* name, double value);
    ObjectBuilder& Bool(const char* name, bool value);
    ObjectBuilder& Text(const char* name, const wchar_t* value);
    napi_value Build();
    // Calls @p function with the object (one call into JavaScript instead of two); false when it threw.
    bool CallWith(napi_value function);

private:
    napi_value Function(bool calling);

    napi_env env_;
    Shape& shape_;
    const char* names_[40];
    napi_value values_[40];
    size_t count_ = 0;
};

// An array made by converting @p count records of @p size bytes each.
napi_value ListOf(napi_env env, const void* records, unsigned count, size_t size,
                  napi_value (*one)(napi_env, const void*));

}  // namespace tessel_node
