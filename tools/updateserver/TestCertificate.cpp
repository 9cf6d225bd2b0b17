// Self-signed certificates through OpenSSL: an EC P-256 key, one day before and after now.
#include "TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace updateserver {

namespace {

bool AddExtension(X509* cert, int nid, const std::string& value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext)
        return false;
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

bool WritePem(const std::string& path, bool key, EVP_PKEY* pkey, X509* cert)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = key ? PEM_write_PrivateKey(file, pkey, nullptr, nullptr, 0, nullptr, nullptr) == 1
                        : PEM_write_X509(file, cert) == 1;
    return std::fclose(file) == 0 && ok;
}

}  // namespace

bool MakeSelfSignedCertificate(const std::string& certificateFile, const std::string& keyFile,
                               const std::string& commonName, const std::string& altNames, std::string& error)
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    if (!pkey || !cert) {
        error = "no key or certificate could be made";
        return false;
    }
    X509* x = cert.get();
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), static_cast<long>(std::time(nullptr) & 0x7FFFFFFF));
    X509_gmtime_adj(X509_getm_notBefore(x), -24L * 3600);
    X509_gmtime_adj(X509_getm_notAfter(x), 24L * 3600);
    X509_set_pubkey(x, pkey.get());
    X509_NAME* name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()),
                               -1, -1, 0);
    X509_set_issuer_name(x, name);
    if (!AddExtension(x, NID_basic_constraints, "critical,CA:TRUE") ||
        !AddExtension(x, NID_key_usage, "critical,digitalSignature,keyCertSign") ||
        !AddExtension(x, NID_subject_alt_name, altNames) || !X509_sign(x, pkey.get(), EVP_sha256())) {
        error = "the certificate could not be signed";
        return false;
    }
    if (!WritePem(certificateFile, false, nullptr, x) || !WritePem(keyFile, true, pkey.get(), nullptr)) {
        error = "the certificate or key file could not be written";
        return false;
    }
    return true;
}

}  // namespace updateserver
