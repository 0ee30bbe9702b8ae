#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/LoopbackHttpServer.h"

namespace
{
    using zuvo::Product;

    const char* const unavailable = "The firmware server is currently unavailable.";
    const char* const cannotConnect = "Error connecting to server";
    const char* const noMatch = "No firmware matches in the server, please try again manually!";
    const char* const unknownProduct = "Cannot fetch firmware details for Unknown product";

    juce::String entry (const juce::String& pid, const juce::String& name, const juce::String& version, const juce::String& fw)
    {
        return "<firmware pid=\"" + pid + "\" name=\"" + name + "\" version=\"" + version + "\" fw=\"" + fw + "\"/>";
    }

    const juce::String catalogue = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue>"
                                   + entry ("161", "Vantor X+", "1.0", "x/vantor_x+_v1.0.bin")
                                   + entry ("156", "Vantor M+", "1.1", "m/vantor_m+_v1.1.bin")
                                   + entry ("0156", "Vantor M+", "1.2", "m/vantor_m+_v1.2.bin")
                                   + entry ("120", "Ferro 2", "3.0", "f/ferro_2_v3.0.bin")
                                   + entry ("156", "Vantor M+", "1.2", "m/vantor_m+_v1.2-beta.bin")
                                   + "</catalogue>";

    class FirmwareCatalogue : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE (firmwareServer.server.getBaseAddress().isNotEmpty());
        }

        juce::Result fetch (int pid)
        {
            firmwares = juce::ValueTree ("firmwares");
            return Product::fetchAvailableFirmwares (pid, firmwares);
        }

        juce::StringArray versionsFetched() const
        {
            juce::StringArray versions;

            for (const auto& child : firmwares)
                versions.add (child["version"].toString() + " " + child["fw"].toString());

            return versions;
        }

        ScopedFirmwareServer firmwareServer;
        LoopbackHttpServer& server = firmwareServer.server;
        juce::ValueTree firmwares;
    };
}

TEST_F (FirmwareCatalogue, KeepsTheProductsEntriesInCatalogueOrder)
{
    server.serve ("firmware.xml", 200, catalogue);

    ASSERT_TRUE (fetch (156).wasOk());
    EXPECT_EQ (firmwares.getType().toString(), "catalogue");
    EXPECT_EQ (versionsFetched(), juce::StringArray ("1.1 m/vantor_m+_v1.1.bin", "1.2 m/vantor_m+_v1.2.bin",
                                                     "1.2 m/vantor_m+_v1.2-beta.bin"));

    // Once for the reachability test, once for the document.
    EXPECT_EQ (server.getNumRequests ("firmware.xml"), 2);

    ASSERT_TRUE (fetch (161).wasOk());
    EXPECT_EQ (versionsFetched(), juce::StringArray ("1.0 x/vantor_x+_v1.0.bin"));
}

TEST_F (FirmwareCatalogue, TwoProductsHaveACatalogueOfTheirOwn)
{
    server.serve ("firmware.xml", 200, "<c>" + entry ("186", "Zuvo Nano P", "1", "wrong.bin") + "</c>");
    server.serve ("firmware-special.xml", 200, "<c>" + entry ("186", "Zuvo Nano P", "2", "p.bin") + "</c>");

    ASSERT_TRUE (fetch (186).wasOk());
    EXPECT_EQ (versionsFetched(), juce::StringArray ("2 p.bin"));
    EXPECT_EQ (server.getNumRequests ("firmware.xml"), 0);
}

TEST_F (FirmwareCatalogue, UnknownProductsFailWithoutAnyRequest)
{
    for (const auto pid : { 2000, -1 })
    {
        SCOPED_TRACE (pid);
        firmwares = juce::ValueTree ("firmwares");
        EXPECT_EQ (Product::fetchAvailableFirmwares (pid, firmwares).getErrorMessage(), unknownProduct);
        EXPECT_EQ (firmwares.getType().toString(), "firmwares");
    }

    EXPECT_EQ (server.getNumRequests(), 0);

    // 0 is looked up.
    server.serve ("firmware.xml", 200, "<c>" + entry ("0", "Zero", "1", "z.bin") + "</c>");
    EXPECT_TRUE (fetch (0).wasOk());
}

TEST_F (FirmwareCatalogue, AServerThatAnswers404IsTriedThreeTimes)
{
    EXPECT_EQ (fetch (156).getErrorMessage(), unavailable);
    EXPECT_EQ (server.getNumRequests ("firmware.xml"), 3);
    EXPECT_EQ (firmwares.getType().toString(), "firmwares");
    EXPECT_EQ (firmwares.getNumChildren(), 0);
}

TEST_F (FirmwareCatalogue, NoServerAtAllIsUnavailable)
{
    const auto base = server.getBaseAddress();
    std::unique_ptr<LoopbackHttpServer> gone;   // the address of a server that has stopped
    zuvo::Network::setFirmwareServerBase ("http://127.0.0.1:1/");

    EXPECT_EQ (fetch (156).getErrorMessage(), unavailable);
    zuvo::Network::setFirmwareServerBase (base);
}

TEST_F (FirmwareCatalogue, DocumentsThatGiveNoCatalogueFail)
{
    struct Case { const char* what; juce::String body; const char* message; };

    const juce::String deepNesting = juce::String::repeatedString ("<a>", 100000) + juce::String::repeatedString ("</a>", 100000);
    const juce::String laughs = "<?xml version=\"1.0\"?><!DOCTYPE c [<!ENTITY a \"<firmware pid='156'/>\">]><c>&a;</c>";

    const Case cases[] =
    {
        { "plain text", "This is not XML", cannotConnect },
        { "an empty body", "", cannotConnect },
        { "a cut-off document", catalogue.dropLastCharacters (20), cannotConnect },
        { "an HTML error page", "<html><body><h1>Sorry</h1></body></html>", noMatch },
        { "an empty catalogue", "<catalogue/>", noMatch },
        { "only other products", "<c>" + entry ("161", "Vantor X+", "1", "x.bin") + "</c>", noMatch },
        { "entries without pid", "<c><firmware name=\"Vantor M+\" version=\"1\" fw=\"m.bin\"/></c>", noMatch },
        { "a pid beyond the range of an int", "<c>" + entry ("4294967452", "Wraps", "1", "w.bin") + "</c>", noMatch },
        { "a pid far beyond it", "<c>" + entry (juce::String::repeatedString ("9", 400) + "156", "n", "v", "f") + "</c>", noMatch },
        { "the smallest int as pid", "<c>" + entry ("-2147483648", "n", "v", "f") + "</c>", noMatch },
        { "nesting deep enough to overflow the parser", deepNesting, cannotConnect },
        { "an attribute of bytes of any declared size", "<c><firmware pid=\"156\" base64:b=\"-1.\"/></c>", cannotConnect },
        { "an entity that no document declares", "<c>" + entry ("156", "&name;", "1", "m.bin") + "</c>", cannotConnect },
        { "a document type that declares entities", laughs, cannotConnect },
        { "text that the parser takes for elements", "<c>&<firmware pid=\"156\" name=\"&#x31;\"/>;</c>", cannotConnect },
        { "a document that ends inside a character reference", "<c a=\"&#x31", cannotConnect },
        { "a processing instruction before text", "<c><?pi?>text" + entry ("156", "n", "v", "f") + "</c>", cannotConnect }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        server.serve ("firmware.xml", 200, c.body);
        EXPECT_EQ (fetch (156).getErrorMessage(), c.message);
        EXPECT_EQ (firmwares.getNumChildren(), 0);
    }
}

TEST_F (FirmwareCatalogue, OddEntriesOfTheProductAreKeptAsTheyAre)
{
    const auto hugeName = juce::String::repeatedString ("Vantor M+ ", 200000);
    server.serve ("firmware.xml", 200,
                  "<c><!-- text and other elements are carried along -->some text"
                  "<firmware pid=\" 156abc\" name=\"" + hugeName + "\" version=\"1\"><notes>new</notes></firmware>"
                  "<firmware pid=\"156\"/>"
                  "<firmware pid=\"156\" name=\"a&amp;b &lt;c&gt;\" version=\"&#x31;.2\" fw=\"../../../etc/passwd\"/></c>");

    ASSERT_TRUE (fetch (156).wasOk());
    ASSERT_EQ (firmwares.getNumChildren(), 3);
    EXPECT_EQ (firmwares.getChild (0)["name"].toString(), hugeName);
    EXPECT_EQ (firmwares.getChild (0).getChild (0).getType().toString(), "notes");
    EXPECT_FALSE (firmwares.getChild (1).hasProperty ("fw"));
    EXPECT_EQ (firmwares.getChild (2)["name"].toString(), "a&b <c>");
    EXPECT_EQ (firmwares.getChild (2)["version"].toString(), "1.2");
}

TEST_F (FirmwareCatalogue, AFlatCatalogueOfThousandsOfEntriesIsRead)
{
    juce::String thousands ("<c>");

    for (int i = 0; i < 5000; ++i)
        thousands << entry (i % 2 == 0 ? "156" : "161", "Vantor", "1." + juce::String (i), "f" + juce::String (i) + ".bin");

    server.serve ("firmware.xml", 200, thousands + "</c>");

    ASSERT_TRUE (fetch (156).wasOk());
    ASSERT_EQ (firmwares.getNumChildren(), 2500);
    EXPECT_EQ (firmwares.getChild (0)["version"].toString(), "1.0");
    EXPECT_EQ (firmwares.getChild (2499)["version"].toString(), "1.4998");
}

//==============================================================================
TEST_F (FirmwareCatalogue, TheDialogOffersEveryEntryAndGivesItsAddress)
{
    server.serve ("firmware.xml", 200, catalogue);
    ASSERT_TRUE (fetch (156).wasOk());

    zuvo::FirmwareSelectComponent dialog (firmwares);

    // The dialog keeps its own copy.
    firmwares.removeAllChildren (nullptr);

    ASSERT_EQ (dialog.firmwareBox.getNumItems(), 3);
    EXPECT_EQ (dialog.firmwareBox.getItemText (0), "Vantor M+ V1.1");
    EXPECT_EQ (dialog.firmwareBox.getItemText (1), "Vantor M+ V1.2");
    EXPECT_EQ (dialog.firmwareBox.getItemText (2), "Vantor M+ V1.2");
    EXPECT_EQ (dialog.firmwareBox.getSelectedItemIndex(), 0);
    EXPECT_EQ (dialog.getDownloadUrl().toString (true), server.getBaseAddress() + "m/vantor_m+_v1.1.bin");

    // Two entries with the same text: each gives its own image.
    dialog.firmwareBox.setSelectedItemIndex (2, juce::dontSendNotification);
    EXPECT_EQ (dialog.getDownloadUrl().toString (true), server.getBaseAddress() + "m/vantor_m+_v1.2-beta.bin");

    dialog.firmwareBox.setSelectedItemIndex (-1, juce::dontSendNotification);
    EXPECT_TRUE (dialog.getDownloadUrl().isEmpty());

    EXPECT_EQ (dialog.getBounds(), juce::Rectangle<int> (0, 0, 300, 200));
    EXPECT_EQ (dialog.firmwareBox.getBounds(), juce::Rectangle<int> (8, 76, 284, 24));
    EXPECT_EQ (dialog.okButton.getBounds(), juce::Rectangle<int> (90, 160, 100, 30));
    EXPECT_EQ (dialog.cancelButton.getBounds(), juce::Rectangle<int> (190, 160, 100, 30));
}

TEST_F (FirmwareCatalogue, TheImageOfAnEntryWithoutFwIsTheBaseAddress)
{
    juce::ValueTree entries ("firmwares");
    entries.appendChild (juce::ValueTree ("firmware", { { "pid", "156" }, { "name", "Vantor M+" }, { "version", "1.3" } }), nullptr);

    zuvo::FirmwareSelectComponent dialog (entries);
    EXPECT_EQ (dialog.firmwareBox.getItemText (0), "Vantor M+ V1.3");
    EXPECT_EQ (dialog.getDownloadUrl().toString (true), server.getBaseAddress());
}
