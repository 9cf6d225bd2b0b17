// The stand-in sockets server's requests: a request block in, the host's sockets (loopback
// only) do the work, a result word and (for calls with results) a reply block out. Free of the
// platform's headers, so that the host's socket headers can be used beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wsa32srv {

// A result word that reports a Windows Sockets error.
constexpr std::uint32_t ErrorResult(std::uint32_t error)
{
    return 0xFFFF0000u | (error & 0xFFFF);
}

struct Outcome {
    std::uint32_t result = 0;  // the answer (an error in ErrorResult form, or the value)
    bool hasReply = false;     // the reply block goes back through a reply handle
    std::string reply;
};

// Performs request `opcode` with its block; a block of the wrong size fails with 10014.
Outcome Perform(unsigned opcode, const char* block, std::size_t size);

// Ends every socket the requests made.
void CloseAll();

}  // namespace wsa32srv
