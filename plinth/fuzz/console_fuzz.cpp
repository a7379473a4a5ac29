// libFuzzer target of the console's request handling: any request is
// answered with a status and a JSON (or page) body, never a crash, hang or
// leak, and what the gate refuses never reaches a view or an action.
//
// Input: the method, the target and header lines ("Name: value"), one per
// line, an empty line, then the body. The first byte chooses whether the
// harness adds the right Host and token (most inputs should pass the gate
// to reach the views and actions).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/console/console.hpp"

// The sandbox's state made once before the first input (its world, the
// shop), so that what every later input finds is not counted as its leak.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    plinth::console::Gate gate;
    gate.port = 8080;
    gate.token = "0123456789abcdef0123456789abcdef";
    plinth::console::Request request;
    request.method = "POST";
    request.target = "/api/inventory/grant?token=" + gate.token;
    request.headers = {{"Host", "127.0.0.1:8080"}};
    request.body = "{\"productId\": 1}";
    plinth::console::Handle(gate, request);
    request.target = "/api/reset?token=" + gate.token;
    plinth::console::Handle(gate, request);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool admitted = (data[0] & 1) != 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto line = [&input]() {
        const std::size_t end = input.find('\n');
        const std::string_view taken = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        return std::string(taken);
    };
    plinth::console::Request request;
    request.method = line();
    request.target = line();
    for (std::string header = line(); !header.empty(); header = line()) {
        const std::size_t colon = header.find(':');
        request.headers.emplace_back(header.substr(0, colon),
                                     colon == std::string::npos ? std::string() : header.substr(colon + 1));
    }
    request.body = std::string(input);
    plinth::console::Gate gate;
    gate.port = 8080;
    gate.token = "0123456789abcdef0123456789abcdef";
    if (admitted) {
        request.headers.insert(request.headers.begin(), {"X-Tessel-Token", gate.token});
        request.headers.insert(request.headers.begin(), {"Host", "127.0.0.1:8080"});
    }
    const plinth::console::Answer answer = plinth::console::Handle(gate, request);
    if (answer.status < 200 || answer.status > 599 || answer.body.empty()) {
        __builtin_trap();
    }
    return 0;
}
