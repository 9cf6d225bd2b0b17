// The connection engine's limits, settable from the host side (tests and tools; product code
// does not reach this header). A request takes the values in force when it is accepted.
#pragma once

#include <cstdint>
#include <string>

namespace portix::host {

struct EngineSettings {
    long connectTimeoutMs = 30000;          // connecting to the server
    long stallTimeoutMs = 60000;            // no byte from the server for this long ends a transfer
    std::int64_t bodyCap = 64ll << 20;      // largest body the engine writes
    std::string certificateFile;            // trusted certificates (PEM); empty: the system's store
};

EngineSettings GetEngineSettings();
void SetEngineSettings(const EngineSettings& settings);
// Back to the defaults above.
void ResetEngineSettings();

}  // namespace portix::host
