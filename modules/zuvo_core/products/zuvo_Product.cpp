namespace zuvo
{

int g_forTargetDeviceQ = 0;

namespace
{
    struct NameRow
    {
        Product::PID pid;
        const char* name;
    };

    struct PatternRow
    {
        const char* pattern;   // lower case, matched against the whole lower-cased name
        Product::PID pid;      // 2000: an exclusion row
    };

    constexpr Product::PID excluded = Product::unknownPid;

    const NameRow normalNames[] =
    {
        { 156, "Vantor M+" },       { 161, "Vantor X+" },       { 150, "Vantor M" },        { 151, "Vantor X" },
        { 158, "Vantor G+" },       { 163, "Vantor D+" },       { 164, "Vantor Pro" },
        { 101, "Ostra C1" },        { 102, "Ostra C1 MK2" },    { 103, "Ostra C4" },        { 104, "Ostra C8" },
        { 105, "Ostra Hub" },       { 106, "Ostra XT" },
        { 110, "Kaleo 25" },        { 111, "Kaleo 49" },        { 112, "Kaleo 61" },        { 113, "Kaleo 88" },
        { 114, "Kaleo Mini" },      { 115, "Kaleo 25 MK2" },    { 116, "Kaleo 49 MK2" },    { 117, "Kaleo 61 MK2" },
        { 118, "Kaleo 32" },
        { 120, "Ferro 2" },         { 121, "Ferro 4" },         { 122, "Ferro 8" },         { 123, "Ferro 2 Pro" },
        { 124, "Ferro 4 Pro" },     { 125, "Ferro Go" },
        { 130, "Pilot One" },       { 131, "Pilot Two" },       { 132, "Pilot Four" },      { 133, "Pilot Mix" },
        { 134, "Pilot Two MK2" },
        // Two hardware revisions of one model.
        { 140, "Lumo Pad" },        { 141, "Lumo Pad XL" },     { 142, "Lumo Beat" },       { 143, "Lumo Beat" },
        { 170, "Tessa 6" },         { 171, "Tessa 10" },        { 172, "Tessa 16" },        { 173, "Tessa 16 USB" },
        { 180, "Orbi 4" },          { 181, "Orbi 8" },
        { 185, "Zuvo Nano K" },     { 186, "Zuvo Nano P" },     { 187, "Zuvo Nano F" },     { 190, "Zuvo Link" }
    };

    // More specific patterns stand before the general ones that also match
    // them: models with a suffix before the plain model, co-branded editions
    // (excluded here) before the family's models.
    const PatternRow normalChain[] =
    {
        { "*ostra?c1?mk2*", 102 },      { "*ostra?c1?oem*", excluded }, { "*ostra?c1*", 101 },
        { "*ostra?c4*", 103 },          { "*ostra?c8*", 104 },          { "*ostra?hub*", 105 },
        { "*ostra?xt*", 106 },

        { "*kestrel?vantor?m+*", excluded },
        { "*vantor?m+?nordlys*", excluded },
        { "*vantor?m+*", 156 },
        { "*kestrel?vantor?g+*", excluded },
        { "*vantor?g+*", 158 },
        { "*vantor?x+*", 161 },

        { "*vantor?d+*", 163 },         { "*vantor?pro*", 164 },
        { "*vantor?m?midi*", 150 },     { "*vantor?x?midi*", 151 },

        { "*kaleo?25?mk2*", 115 },      { "*kaleo?49?mk2*", 116 },      { "*kaleo?61?mk2*", 117 },
        { "*kaleo?88?nordlys*", excluded },
        { "*kaleo?mini*", 114 },        { "*kaleo?25*", 110 },          { "*kaleo?32*", 118 },
        { "*kaleo?49*", 111 },          { "*kaleo?61*", 112 },          { "*kaleo?88*", 113 },

        { "*ferro?2?pro*", 123 },       { "*ferro?4?pro*", 124 },       { "*ferro?go*", 125 },
        { "*ferro?2*", 120 },           { "*ferro?4*", 121 },           { "*ferro?8*", 122 },

        { "*pilot?two?mk2*", 134 },     { "*pilot?one*", 130 },         { "*pilot?two*", 131 },
        { "*pilot?four*", 132 },        { "*pilot?mix*", 133 },

        { "*lumo?pad?xl*", 141 },       { "*lumo?pad*", 140 },          { "*lumo?beat?2*", 143 },
        { "*lumo?beat*", 142 },

        { "*tessa?16?kestrel*", excluded },
        { "*tessa?16?usb*", 173 },      { "*tessa?16*", 172 },          { "*tessa?10*", 171 },
        { "*tessa?6*", 170 },

        { "*orbi?8*", 181 },            { "*orbi?4*", 180 },
        { "*zuvo?nano?k*", 185 },       { "*zuvo?nano?p*", 186 },       { "*zuvo?nano?f*", 187 },
        { "*zuvo?link*", 190 },

        // Port names of older firmware.
        { "*kaleo?k25*", 110 },         { "*kaleo?k49*", 111 },         { "*kaleo?k61*", 112 },
        { "*ostra?control?1*", 101 },   { "*zuvo?pad*", 140 },          { "*zuvo?beat*", 142 },
        { "*zuvo?keys?25*", 110 }
    };

    // The target set: co-branded editions and partner products, which run
    // their own registry.
    const NameRow targetNames[] =
    {
        { 301, "Kestrel Vantor M+" },   { 302, "Vantor M+ Nordlys" },   { 303, "Kestrel Vantor G+" },
        { 304, "Ostra C1 OEM" },        { 305, "Kaleo 88 Nordlys" },    { 306, "Tessa 16 Kestrel" },
        { 307, "Kestrel Control 8" },   { 308, "Kestrel Control 16" },  { 309, "Nordlys Pad" },
        { 310, "Nordlys Keys 49" },     { 311, "Nordlys Keys 61" }
    };

    const PatternRow targetChain[] =
    {
        { "*kestrel?vantor?m+*", 301 },  { "*vantor?m+?nordlys*", 302 },  { "*kestrel?vantor?g+*", 303 },
        { "*ostra?c1?oem*", 304 },       { "*kaleo?88?nordlys*", 305 },   { "*tessa?16?kestrel*", 306 },
        { "*kestrel?control?16*", 308 }, { "*kestrel?control?8*", 307 },
        { "*kestrel?ctl?16*", 308 },     { "*kestrel?ctl?8*", 307 },
        { "*nordlys?pad*", 309 },        { "*nordlys?kp*", 309 },
        { "*nordlys?keys?49*", 310 },    { "*nordlys?k49*", 310 },
        { "*nordlys?keys?61*", 311 },    { "*nordlys?k61*", 311 }
    };

    bool targetVariantInForce()
    {
        return g_forTargetDeviceQ == 1;
    }

    template <size_t numRows>
    const NameRow* findName (const NameRow (&rows)[numRows], Product::PID pid)
    {
        for (const auto& row : rows)
            if (row.pid == pid)
                return &row;

        return nullptr;
    }
}

bool Product::validPID (int pid)
{
    return pid != unknownPid;
}

juce::String Product::getName (PID pid)
{
    const auto* row = targetVariantInForce() ? findName (targetNames, pid) : findName (normalNames, pid);
    return row != nullptr ? row->name : "Unknown";
}

Product::PID Product::pidFromDeviceName (const juce::String& deviceName)
{
    const auto name = deviceName.toLowerCase().trim();

    const auto firstMatch = [&name] (const auto& chain)
    {
        for (const auto& row : chain)
            if (name.matchesWildcard (row.pattern, true))
                return row.pid;

        return unknownPid;
    };

    return targetVariantInForce() ? firstMatch (targetChain) : firstMatch (normalChain);
}

bool Product::isTargetProduct (int pid)
{
    return findName (targetNames, pid) != nullptr;
}

} // namespace zuvo
