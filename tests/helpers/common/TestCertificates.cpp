#include "TestCertificates.h"

TestCertificates::TestCertificates()
{
    const auto authorityKey = folder.folder.getChildFile ("authority.key");
    const auto request = folder.folder.getChildFile ("server.csr");
    const auto extensions = folder.folder.getChildFile ("server.ext");
    const juce::StringArray newKey { "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes" };

    extensions.replaceWithText ("subjectAltName = IP:127.0.0.1, DNS:localhost\n"
                                "basicConstraints = critical, CA:FALSE\n"
                                "keyUsage = critical, digitalSignature\n"
                                "extendedKeyUsage = serverAuth\n");

    auto authority = juce::StringArray { "req", "-x509" };
    authority.addArray (newKey);
    authority.addArray ({ "-keyout", authorityKey.getFullPathName(), "-out", getAuthority().getFullPathName(),
                          "-days", "2", "-subj", "/CN=Vantor Rilo test authority",
                          "-addext", "basicConstraints = critical, CA:TRUE",
                          "-addext", "keyUsage = critical, keyCertSign, cRLSign" });

    auto serverRequest = juce::StringArray { "req" };
    serverRequest.addArray (newKey);
    serverRequest.addArray ({ "-keyout", getServerKey().getFullPathName(), "-out", request.getFullPathName(),
                              "-subj", "/CN=127.0.0.1" });

    const juce::StringArray signing { "x509", "-req", "-in", request.getFullPathName(),
                                      "-CA", getAuthority().getFullPathName(), "-CAkey", authorityKey.getFullPathName(),
                                      "-days", "2", "-extfile", extensions.getFullPathName(),
                                      "-out", getServerCertificate().getFullPathName() };

    if (run (authority) && run (serverRequest))
        run (signing);
}

bool TestCertificates::run (const juce::StringArray& opensslArguments)
{
    auto command = opensslArguments;
    command.insert (0, "openssl");

    juce::ChildProcess openssl;

    if (! openssl.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        whyNotMade = "openssl could not be started";
        return false;
    }

    const auto output = openssl.readAllProcessOutput();

    if (openssl.getExitCode() != 0)
    {
        whyNotMade = command.joinIntoString (" ") + ": " + output;
        return false;
    }

    return true;
}

//==============================================================================
ScopedTrustedCertificates::ScopedTrustedCertificates (const juce::File& pemBundle)
{
    zuvo::Network::setTrustedCertificates (pemBundle);
}

ScopedTrustedCertificates::~ScopedTrustedCertificates()
{
    zuvo::Network::setTrustedCertificates (juce::File());
}
