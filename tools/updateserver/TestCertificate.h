// Certificates for https tests, made on the spot: a self-signed certificate (its own authority)
// and its private key, as PEM files.
#pragma once

#include <string>

namespace updateserver {

// `altNames` as the certificate's subject alternative names, e.g. "IP:127.0.0.1" or
// "DNS:elsewhere.invalid". False with `error` set when a step fails.
bool MakeSelfSignedCertificate(const std::string& certificateFile, const std::string& keyFile,
                               const std::string& commonName, const std::string& altNames, std::string& error);

}  // namespace updateserver
