namespace zuvo
{

namespace
{
    juce::String& firmwareServerBaseInForce()
    {
        static juce::String base;
        return base;
    }

    juce::String defaultFirmwareServerBase()
    {
        return juce::SystemStats::getEnvironmentVariable ("VTR_FIRMWARE_SERVER", VTR_FIRMWARE_SERVER);
    }

    juce::File& trustedCertificatesInForce()
    {
        static juce::File bundle;
        return bundle;
    }

    Network::Timeouts& timeoutsInForce()
    {
        static Network::Timeouts timeouts;
        return timeouts;
    }

    std::function<bool()>& cancelCheckInForce()
    {
        static std::function<bool()> check;
        return check;
    }

    /** A cancel check in force says so, or the program is quitting: no
        transfer outlives the message loop. */
    bool cancellationRequested()
    {
        const auto& check = cancelCheckInForce();
        return juce::MessageManager::getInstance()->hasStopMessageBeenSent() || (check != nullptr && check());
    }

    constexpr int numConnectionAttempts = 3;
    constexpr int loopSliceMs = 20;

    /** Runs one request on its reader thread while the message loop runs. */
    HttpAnswer request (const juce::URL& url, HttpReader::Limits limits)
    {
        if (cancellationRequested())
        {
            HttpAnswer none;
            none.outcome = HttpAnswer::Outcome::cancelled;
            return none;
        }

        HttpReader reader (url, limits, trustedCertificatesInForce());

        while (! reader.hasEnded())
        {
            if (cancellationRequested())
                reader.cancel();

            // When the loop is quitting it returns at once: wait without it then.
            if (! juce::MessageManager::getInstance()->runDispatchLoopUntil (loopSliceMs))
                juce::Thread::sleep (loopSliceMs);
        }

        return reader.getAnswer();
    }
}

bool Network::canConnectToWebsite (const juce::URL& url)
{
    for (int attempt = 0; attempt < numConnectionAttempts; ++attempt)
    {
        const auto attemptMs = getTimeouts().reachabilityMs;

        if (request (url, { -1, attemptMs, attemptMs }).isCompleteSuccess())
            return true;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    }

    return false;
}

HttpAnswer Network::fetch (const juce::URL& url, juce::int64 maxBodyBytes, int deadlineMs)
{
    return request (url, { maxBodyBytes, getTimeouts().transferMs, deadlineMs });
}

juce::String Network::getFirmwareServerBase()
{
    auto& base = firmwareServerBaseInForce();

    if (base.isEmpty())
        base = defaultFirmwareServerBase();

    return base;
}

void Network::setFirmwareServerBase (const juce::String& newBase)
{
    firmwareServerBaseInForce() = newBase;
}

void Network::setTrustedCertificates (const juce::File& pemBundle)
{
    trustedCertificatesInForce() = pemBundle;
}

Network::Timeouts Network::getTimeouts()            { return timeoutsInForce(); }
void Network::setTimeouts (Timeouts newTimeouts)    { timeoutsInForce() = newTimeouts; }

Network::ScopedCancelCheck::ScopedCancelCheck (std::function<bool()> shouldCancel)
    : previous (std::exchange (cancelCheckInForce(), std::move (shouldCancel)))
{
}

Network::ScopedCancelCheck::~ScopedCancelCheck()
{
    cancelCheckInForce() = std::move (previous);
}

} // namespace zuvo
