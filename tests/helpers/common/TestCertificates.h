#pragma once

#include <zuvo_core/zuvo_core.h>

#include "TemporaryFolder.h"

/** A certificate authority of the test's own and a server certificate for
    127.0.0.1 (an IP address name) and localhost that it signed, with the
    server's key: made by the openssl command line in a temporary folder of
    their own, deleted with the object. Each object is a new authority,
    trusted by nothing until a test says so.
*/
class TestCertificates
{
public:
    TestCertificates();

    /** Whether openssl made them all; `whyNotMade` says why not. */
    bool areMade() const noexcept   { return whyNotMade.isEmpty(); }

    /** The authority's certificate (PEM): a bundle of one. */
    juce::File getAuthority() const          { return folder.folder.getChildFile ("authority.pem"); }
    juce::File getServerCertificate() const  { return folder.folder.getChildFile ("server.pem"); }
    juce::File getServerKey() const          { return folder.folder.getChildFile ("server.key"); }

    juce::String whyNotMade;

private:
    bool run (const juce::StringArray& opensslArguments);

    const ScopedTemporaryFolder folder { "test-certificates" };

    JUCE_DECLARE_NON_COPYABLE (TestCertificates)
};

/** Puts a bundle of certificate authorities in force for every request
    (zuvo::Network::setTrustedCertificates) for its lifetime; afterwards the
    system's authorities are trusted again. Message thread. */
struct ScopedTrustedCertificates
{
    explicit ScopedTrustedCertificates (const juce::File& pemBundle);
    ~ScopedTrustedCertificates();

    JUCE_DECLARE_NON_COPYABLE (ScopedTrustedCertificates)
};
