// What the documents from outside that the editor accepts cost at worst.
//
// Mapping files: each family of hostile files is grown until the editor
// refuses it; its largest accepted member is measured: the time to load it,
// to save it (and the size saved), and the settings write at exit with it
// loaded in all five modes. Then the time to refuse files beyond the limit.
// Firmware catalogues: the time to read flat catalogues of many entries.
//
// Not a test: run it on an idle machine. Every time is the worst of five runs.
//
//     UntrustedXmlBenchmark [FOLDER]     (keeps the measured files in FOLDER)

#include "VtrPlus.h"

#include <zuvo_core/zuvo_core.h>

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    double millisecondsSince (double start)
    {
        return juce::Time::getMillisecondCounterHiRes() - start;
    }

    template <typename Operation>
    double worstOfFiveRuns (Operation&& operation)
    {
        double worst = 0.0;

        for (int run = 0; run < 5; ++run)
        {
            const auto start = juce::Time::getMillisecondCounterHiRes();
            operation();
            worst = std::max (worst, millisecondsSince (start));
        }

        return worst;
    }

    /** A family of files: the file of one mode, grown by a count. */
    struct Family
    {
        const char* name;
        std::function<juce::MemoryBlock (const juce::String& mode, int count)> make;
    };

    juce::MemoryBlock bytesOf (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    juce::String mapStart (const juce::String& mode)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map mode=\"" + mode + "\" name=\"Any\" protocol=\"0\">";
    }

    /** An element named by its number, with attributes named after it. */
    juce::String elementWithAttributes (int number, int numAttributes)
    {
        juce::String text ("<e" + juce::String (number));

        for (int a = 0; a < numAttributes; ++a)
            text << " a" << juce::String (number * numAttributes + a) << "=\"\"";

        return text + "/>";
    }

    juce::MemoryBlock repeated (const juce::String& start, const juce::String& part, int count, const juce::String& end)
    {
        juce::MemoryOutputStream bytes;
        bytes << start;

        for (int i = 0; i < count; ++i)
            bytes << part;

        bytes << end;
        return bytes.getMemoryBlock();
    }

    const Family families[] = {
        { "empty elements", [] (const juce::String& mode, int count)
          {
              return repeated (mapStart (mode), "<e/>", count, "</map>");
          } },
        { "the most names and attributes", [] (const juce::String& mode, int count)
          {
              const zuvo::UntrustedXmlLimits limits;
              const auto numNamed = (limits.maxNames - 4) / (limits.maxAttributesPerElement + 1);
              juce::String named;

              // In descending order, so that each new name goes before the pooled ones.
              for (int e = numNamed; --e >= 0;)
                  named << elementWithAttributes (e, limits.maxAttributesPerElement);

              return repeated (mapStart (mode), named, count, "</map>");
          } },
        { "deepest, long names, wrapped", [] (const juce::String& mode, int count)
          {
              const zuvo::UntrustedXmlLimits limits;
              const auto name = "n" + juce::String::repeatedString ("x", count);
              juce::String attributes;

              for (int a = 0; a < limits.maxAttributesPerElement; ++a)
                  attributes << " a" << juce::String (a) << "=\"" << juce::String::repeatedString ("v", count) << "\"";

              const auto levels = limits.maxDepth - 1;
              juce::MemoryOutputStream bytes;
              bytes << mapStart (mode);

              for (int level = 0; level < levels; ++level)
                  bytes << "<" << name << attributes << ">";

              for (int level = 0; level < levels; ++level)
                  bytes << "</" << name << ">";

              bytes << "</map>";
              return bytes.getMemoryBlock();
          } },
        { "text saved as references", [] (const juce::String& mode, int count)
          {
              // A lone surrogate in UTF-8: each byte reads as U+FFFD, saved as "&#65533;".
              return repeated (mapStart (mode) + "<e v=\"", "\xed\xa0\x80", count, "\"/></map>");
          } },
        { "references in one value", [] (const juce::String& mode, int count)
          {
              return repeated (mapStart (mode) + "<e v=\"", "&#65;", count, "\"/></map>");
          } },
        { "ampersands in one value", [] (const juce::String& mode, int count)
          {
              return repeated (mapStart (mode) + "<e v=\"", "&amp;", count, "\"/></map>");
          } },
        { "an attribute of declared bytes", [] (const juce::String& mode, int count)
          {
              return bytesOf (mapStart (mode) + "<e base64:b=\"" + juce::String (count) + ".\"/></map>");
          } },
    };

    struct Bench
    {
        explicit Bench (const juce::File& folderToUse) : folder (folderToUse)
        {
            folder.createDirectory();
            VtrPlus::setSettingsFolder (folder.getChildFile ("settings"));
        }

        ~Bench()
        {
            VtrPlus::setSettingsFolder ({});
        }

        juce::File fileOf (const juce::String& name, const juce::MemoryBlock& bytes) const
        {
            const auto file = folder.getChildFile (name + ".rilo");
            file.replaceWithData (bytes.getData(), bytes.getSize());
            return file;
        }

        bool loads (const juce::MemoryBlock& bytes)
        {
            VtrPlus device;
            return device.openFile (fileOf ("probe", bytes)).wasOk();
        }

        /** The largest count whose file loads: doubled until it is refused,
            then halved between; 0 when even the smallest is refused. */
        int largestAccepted (const Family& family)
        {
            constexpr int ceiling = 1 << 24;
            int accepted = 0, refused = 1;

            while (refused < ceiling && loads (family.make ("logic", refused)))
                accepted = std::exchange (refused, refused * 2);

            while (refused - accepted > 1)
            {
                const auto middle = accepted + (refused - accepted) / 2;
                (loads (family.make ("logic", middle)) ? accepted : refused) = middle;
            }

            return accepted;
        }

        void measure (const Family& family)
        {
            const auto count = largestAccepted (family);

            if (count == 0)
            {
                std::printf ("%-32s refused at every size\n", family.name);
                return;
            }

            const auto file = fileOf (family.name, family.make ("logic", count));
            const auto saved = folder.getChildFile ("saved.rilo");
            VtrPlus device;

            const auto loadMs = worstOfFiveRuns ([&] { device.openFile (file); });
            const auto saveMs = worstOfFiveRuns ([&] { device.saveCurrentMapping (saved); });
            double settingsMs = 0.0;

            for (int run = 0; run < 5; ++run)
            {
                auto exiting = std::make_unique<VtrPlus>();

                for (const auto* mode : modeSlugs)
                    exiting->openFile (fileOf (juce::String ("mode-") + mode, family.make (mode, count)));

                const auto start = juce::Time::getMillisecondCounterHiRes();
                exiting.reset();
                settingsMs = std::max (settingsMs, millisecondsSince (start));
            }

            std::printf ("%-32s %9lld %9.1f %9.1f %9lld %11.1f\n", family.name, (long long) file.getSize(),
                         loadMs, saveMs, (long long) saved.getSize(), settingsMs);
            std::fflush (stdout);
        }

        void measureRefusal (const char* name, const juce::MemoryBlock& bytes)
        {
            const auto file = fileOf ("refused", bytes);
            VtrPlus device;
            bool refused = false;
            const auto ms = worstOfFiveRuns ([&] { refused = device.openFile (file).failed(); });
            std::printf ("%-32s %9lld %9.1f  %s\n", name, (long long) bytes.getSize(), ms, refused ? "refused" : "LOADED");
        }

        const juce::File folder;
    };

    juce::String flatCatalogue (int numEntries)
    {
        juce::String text ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalogue>");

        for (int i = 0; i < numEntries; ++i)
            text << "<firmware pid=\"" << (i % 2 == 0 ? "156" : "161") << "\" name=\"Vantor M+\" version=\"1." << i
                 << "\" fw=\"m/vantor_m+_v1." << i << ".bin\"/>";

        return text + "</catalogue>";
    }
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI framework;
    const juce::TemporaryFile scratch;
    const auto keep = argc > 1;
    Bench bench (keep ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]) : scratch.getFile());

    std::printf ("Mapping files (limit %d bytes)\n", VtrPlus::maxMappingFileBytes);
    std::printf ("%-32s %9s %9s %9s %9s %11s\n", "largest accepted", "bytes", "load ms", "save ms", "saved", "settings ms");

    // The factory map of each mode as the editor saves it.
    std::map<juce::String, juce::String> factoryMaps;

    {
        VtrPlus device;
        const auto file = bench.folder.getChildFile ("factory.rilo");

        for (int mode = 0; mode < 5; ++mode)
        {
            device.setCtMode (mode);
            device.saveCurrentMapping (file);
            factoryMaps[modeSlugs[mode]] = file.loadFileAsString();
        }
    }

    bench.measure ({ "factory maps", [&] (const juce::String& mode, int count)
                     {
                         return count == 1 ? bytesOf (factoryMaps[mode]) : juce::MemoryBlock();
                     } });

    bench.measure ({ "factory maps, controls padded", [&] (const juce::String& mode, int count)
                     {
                         const auto padding = " pad=\"" + juce::String::repeatedString ("x", count) + "\"/>";
                         return bytesOf (factoryMaps[mode].replace ("/>", padding));
                     } });

    for (const auto& family : families)
        bench.measure (family);

    std::printf ("\n%-32s %9s %9s\n", "beyond the limit", "bytes", "ms");

    for (const auto megabytes : { 1, 4, 64 })
        bench.measureRefusal ((juce::String (megabytes) + " MiB of elements").toRawUTF8(),
                              families[0].make ("logic", megabytes * 1024 * 1024 / 4));

    bench.measureRefusal ("2,000 nested elements", bytesOf (mapStart ("logic") + juce::String::repeatedString ("<a>", 2000)
                                                             + juce::String::repeatedString ("</a>", 2000) + "</map>"));

    std::printf ("\n%-32s %9s %9s %9s\n", "firmware catalogues", "bytes", "read ms", "entries");

    for (const auto numEntries : { 5000, 50000 })
    {
        const auto text = flatCatalogue (numEntries);
        juce::ValueTree firmwares;
        const auto ms = worstOfFiveRuns ([&] { firmwares = juce::ValueTree ("firmwares");
                                               zuvo::Product::readCatalogue (text, 156, firmwares); });
        std::printf ("%-32s %9d %9.1f %9d\n", (juce::String (numEntries) + " entries").toRawUTF8(),
                     (int) text.getNumBytesAsUTF8(), ms, firmwares.getNumChildren());
    }

    if (! keep)
        scratch.getFile().deleteRecursively();

    return 0;
}
