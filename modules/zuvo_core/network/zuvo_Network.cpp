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

    constexpr int numConnectionAttempts = 3;
}

bool Network::canConnectToWebsite (const juce::URL& url)
{
    for (int attempt = 0; attempt < numConnectionAttempts; ++attempt)
    {
        int statusCode = 0;
        auto stream = url.createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inAddress)
                                                 .withConnectionTimeoutMs (2000)
                                                 .withNumRedirectsToFollow (5)
                                                 .withStatusCode (&statusCode));

        if (stream != nullptr && statusCode >= 200 && statusCode <= 299)
            return true;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    }

    return false;
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

} // namespace zuvo
