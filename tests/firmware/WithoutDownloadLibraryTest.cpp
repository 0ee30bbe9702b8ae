#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

#include "common/LoopbackHttpServer.h"
#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// This whole test program runs as on a machine without the download library:
// its own dlopen, which the program's code calls before the system's, refuses
// every libcurl. Everything else loads as usual.
extern "C" void* dlopen (const char* file, int mode)
{
    using Open = void* (*) (const char*, int);
    static const auto systemOpen = reinterpret_cast<Open> (dlsym (RTLD_NEXT, "dlopen"));

    if (file != nullptr && std::strstr (file, "libcurl") != nullptr)
        return nullptr;

    return systemOpen (file, mode);
}

namespace
{
const char* const catalogue =
    "<firmwares><firmware pid=\"156\" name=\"Vantor M+\" version=\"1.3\" fw=\"fw/vantor_m+_v1.3.bin\"/></firmwares>";
} // namespace

TEST (WithoutDownloadLibrary, DownloadsFailAndTheOnlineWizardStillUpgradesFromAFile)
{
    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    ScopedFirmwareServer firmwareServer;
    firmwareServer.server.serve ("firmware.xml", 200, catalogue);
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog { 8000 };

    const auto answer = zuvo::Network::fetch (juce::URL (firmwareServer.server.getBaseAddress() + "firmware.xml"), 4096, 5000);
    EXPECT_FALSE (answer.isWholeDocument());

    // Step 4 online finds no catalogue, as with a server out of reach, and
    // offers the file chooser; the image chosen there is loaded.
    const gui_test::FirmwareFiles files;
    const auto image = files.write ("vantor_m+_v1.3.bin", 1024);
    gui_test::WizardHost host (156, true);
    int fileRequests = 0;
    host.wizard.chooseFile = [&] (const zuvo::FirmwareUpgradeComponent::FileRequest&) { ++fileRequests; return image; };

    gui_test::loadImageByHand (host, script);

    EXPECT_EQ (fileRequests, 1);
    EXPECT_EQ (host.wizard.step, 3);
    EXPECT_EQ (host.wizard.midiHandler->programSize, 1024u);
    EXPECT_TRUE (alerts.alerts.empty());
    EXPECT_TRUE (script.isDone()) << script.stepsLeft() << " steps left";
    EXPECT_EQ (firmwareServer.server.getNumRequests ("firmware.xml"), 0);
}
