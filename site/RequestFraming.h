#pragma once

#include <cstddef>
#include <string_view>

// Decides from the bytes received on a connection so far whether the next
// HTTP/1.1 request has arrived in full, so that an event loop can hand whole
// requests to the parser and never block in the middle of one.
namespace RequestFraming {

struct Limits
{
    std::size_t maxHeaderBytes = 64 * 1024; // request line and headers
    std::size_t maxBodyBytes = 64 * 1024;
};

enum class State
{
    Incomplete, // wait for more bytes
    Complete,   // a whole request is buffered
    HandOver,   // parse what is there now and close the connection after the answer
};

struct Frame
{
    State state = State::Incomplete;
    // Bytes of the request with its body (Complete only).
    std::size_t length = 0;
};

// HandOver covers what the parser must judge at once: headers or a body over
// the limits, a client waiting for "100 Continue" before sending its body, a
// malformed Content-Length.
Frame frame(std::string_view buffered, const Limits &limits);

} // namespace RequestFraming
