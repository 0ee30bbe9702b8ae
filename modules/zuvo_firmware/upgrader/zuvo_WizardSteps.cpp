namespace zuvo
{

namespace
{
    const char* const fwugName = "Zuvo firmware upgrade";
    const char* const deviceDialogTitle = "Choose Your Zuvo Device";
    constexpr int seriesLength = 20;

    bool containsFwugName (const juce::String& name)
    {
        return name.containsIgnoreCase (fwugName);
    }

    bool isTestModeUnit (const juce::String& name)
    {
        return name.toLowerCase().trim().matchesWildcard ("ZUVO*Midi*", true);
    }

    int numFwugOutputs()
    {
        return FirmwareUpgradeComponent::numberForDevice (fwugName, true);
    }

    void showBox (juce::MessageBoxIconType icon, const juce::String& title, const juce::String& message)
    {
        juce::AlertWindow::showMessageBox (icon, title, message);
    }

    //==============================================================================
    /** One pattern of a firmware-name row and its verdict. */
    struct NamePattern
    {
        const char* wildcard;
        bool accept;
    };

    /** The firmware file names that fit a product. A product's own files
        carry its model fragment between underscores; where a sibling model's
        fragment starts with it (a suffixed model), the sibling is refused
        first. Products without a row take any file. */
    struct FirmwareNameRow
    {
        unsigned pid;
        std::initializer_list<NamePattern> patterns;
    };

    const FirmwareNameRow firmwareNameRows[] =
    {
        { 156, { { "*vantor_m+_*", true } } },
        { 161, { { "*vantor_x+_*", true } } },
        { 150, { { "*vantor_m_*", true } } },
        { 151, { { "*vantor_x_*", true } } },
        { 158, { { "*vantor_g+_*", true } } },
        { 163, { { "*vantor_d+_*", true } } },
        { 164, { { "*vantor_pro_*", true } } },
        { 101, { { "*ostra_c1_mk2_*", false }, { "*ostra_c1_oem_*", false }, { "*ostra_c1_*", true } } },
        { 102, { { "*ostra_c1_mk2_*", true } } },
        { 103, { { "*ostra_c4_*", true } } },
        { 104, { { "*ostra_c8_*", true } } },
        { 105, { { "*ostra_hub_*", true } } },
        { 106, { { "*ostra_xt_*", true } } },
        { 110, { { "*kaleo_25_mk2_*", false }, { "*kaleo_25_*", true } } },
        { 111, { { "*kaleo_49_mk2_*", false }, { "*kaleo_49_*", true } } },
        { 112, { { "*kaleo_61_mk2_*", false }, { "*kaleo_61_*", true } } },
        { 113, { { "*kaleo_88_*", true } } },
        { 114, { { "*kaleo_mini_*", true } } },
        { 115, { { "*kaleo_25_mk2_*", true } } },
        { 116, { { "*kaleo_49_mk2_*", true } } },
        { 117, { { "*kaleo_61_mk2_*", true } } },
        { 118, { { "*kaleo_32_*", true } } },
        { 120, { { "*ferro_2_pro_*", false }, { "*ferro_2_*", true } } },
        { 121, { { "*ferro_4_pro_*", false }, { "*ferro_4_*", true } } },
        { 122, { { "*ferro_8_*", true } } },
        { 123, { { "*ferro_2_pro_*", true } } },
        { 124, { { "*ferro_4_pro_*", true } } },
        { 125, { { "*ferro_go_*", true } } },
        { 130, { { "*pilot_one_*", true } } },
        { 131, { { "*pilot_two_mk2_*", false }, { "*pilot_two_*", true } } },
        { 132, { { "*pilot_four_*", true } } },
        { 133, { { "*pilot_mix_*", true } } },
        { 134, { { "*pilot_two_mk2_*", true } } },
        { 140, { { "*lumo_pad_xl_*", false }, { "*lumo_pad_*", true } } },
        { 141, { { "*lumo_pad_xl_*", true } } },
        { 142, { { "*lumo_beat_2_*", false }, { "*lumo_beat_*", true } } },
        { 143, { { "*lumo_beat_2_*", true } } },
        { 170, { { "*tessa_6_*", true } } },
        { 171, { { "*tessa_10_*", true } } },
        { 172, { { "*tessa_16_usb_*", false }, { "*tessa_16_*", true } } },
        { 173, { { "*tessa_16_usb_*", true } } },
    };

    // The two hardware revisions of the Lumo Beat share one upgrade mode; the
    // digit before the first "." of the upgrade port's name tells them apart.
    constexpr int pairedProducts[] = { 142, 143 };

    int productOfSharedUpgradePort (const juce::String& upgradePort)
    {
        const auto dot = upgradePort.indexOfChar ('.');
        return dot > 0 && upgradePort[dot - 1] == '1' ? pairedProducts[0] : pairedProducts[1];
    }

    /** The forms of the upgrade request a product takes: the 9-byte one,
        the 8-byte one, or both, the 8-byte one 2 ms after the first. */
    struct RequestForms
    {
        bool nineBytes, eightBytes;
    };

    RequestForms requestFormsFor (int pid)
    {
        switch (pid)
        {
            case 185: case 186: case 187:   return { false, true };   // Zuvo Nano
            case 190:                       return { true, true };    // Zuvo Link
            default:                        return { true, false };
        }
    }

    //==============================================================================
    /** The first bytes of a body as characters, after a byte order mark:
        UTF-16 text by its low bytes, anything else byte by byte. A NUL, which
        a string cannot hold, becomes another control character. */
    juce::String openingOf (const juce::MemoryBlock& body)
    {
        const auto* bytes = static_cast<const unsigned char*> (body.getData());
        const auto size = juce::jmin ((size_t) 128, body.getSize());
        const auto startsWith = [&] (std::initializer_list<unsigned char> mark)
        {
            return size >= mark.size() && std::equal (mark.begin(), mark.end(), bytes);
        };

        const auto littleEndian = startsWith ({ 0xff, 0xfe }), bigEndian = startsWith ({ 0xfe, 0xff });
        const size_t first = littleEndian ? 2 : bigEndian ? 3 : startsWith ({ 0xef, 0xbb, 0xbf }) ? 3 : 0;
        juce::String opening;

        for (auto i = first; i < size; i += littleEndian || bigEndian ? 2 : 1)
            opening += (juce::juce_wchar) (bytes[i] != 0 ? bytes[i] : 1);

        return opening;
    }

    /** Whether a body starts like a web page, another markup document or
        JSON: after blanks, with an opening that only such documents have, or
        as text whose first character is "<" or "{". */
    bool looksLikeTextDocument (const juce::MemoryBlock& body)
    {
        const auto opening = openingOf (body).trimStart();

        for (auto* markup : { "<!doctype", "<html", "<?xml", "<head", "<body", "<!--", "<meta" })
            if (opening.startsWithIgnoreCase (markup))
                return true;

        if (! (opening.startsWithChar ('<') || opening.startsWithChar ('{')))
            return false;

        for (auto c : opening)
            if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
                return false;

        return true;
    }

    /** Whether a header says the body is text, a document or compressed. */
    bool declaresNoImage (const HttpAnswer& answer)
    {
        for (const auto& value : answer.valuesOf ("Content-Type"))
        {
            const auto type = value.toLowerCase();

            if (type.startsWith ("text/") || type.contains ("html") || type.contains ("xml") || type.contains ("json"))
                return true;
        }

        for (const auto& encoding : answer.valuesOf ("Content-Encoding"))
            if (! encoding.trim().equalsIgnoreCase ("identity"))
                return true;

        return false;
    }

    /** Whether a download is a whole firmware image that the loader takes: a
        complete answer with status 200 of an accepted size, and no text page
        (servers and proxies send error and login pages with status 200). */
    bool isFirmwareImage (const HttpAnswer& answer)
    {
        using Handler = FirmwareUpgradeComponent::MidiInputHandler;
        const auto size = (juce::uint64) answer.body.getSize();

        return answer.isWholeDocument()
               && size >= Handler::minProgramSize && size <= Handler::maxProgramSize
               && ! declaresNoImage (answer)
               && ! looksLikeTextDocument (answer.body);
    }
}

//==============================================================================
bool FirmwareUpgradeComponent::isValidFmwName (juce::String name, unsigned pid)
{
    for (const auto& row : firmwareNameRows)
    {
        if (row.pid != pid)
            continue;

        for (const auto& pattern : row.patterns)
            if (name.matchesWildcard (pattern.wildcard, true))
                return pattern.accept;

        return false;
    }

    return true;
}

//==============================================================================
void FirmwareUpgradeComponent::doStep1()  { runSteps (Next::step1); }
void FirmwareUpgradeComponent::doStep2()  { runSteps (Next::step2); }
void FirmwareUpgradeComponent::doStep3()  { runSteps (Next::step3); }
void FirmwareUpgradeComponent::doStep4()  { runSteps (Next::step4); }
void FirmwareUpgradeComponent::doStep5()  { runSteps (Next::step5); }

void FirmwareUpgradeComponent::runSteps (Next first)
{
    // A click that arrives while a step waits, or while its dialog is being
    // built, starts nothing: steps never nest.
    if (runningStep != Next::nothing)
        return;

    for (auto next = first; next != Next::nothing && ! closing;)
    {
        runningStep = next;
        next = runStep (next);
    }

    runningStep = Next::nothing;
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::runStep (Next which)
{
    switch (which)
    {
        case Next::step1:   return connect();
        case Next::step2:   return enterUpgradeMode();
        case Next::step3:   return activate();
        case Next::step4:   return loadFirmware();
        case Next::step5:   return upgrade();
        case Next::nothing: break;
    }

    return Next::nothing;
}

//==============================================================================
void FirmwareUpgradeComponent::wait (int ms) const
{
    sleep_ms (juce::roundToInt (ms * waitScale));
}

void FirmwareUpgradeComponent::runLoop (int ms) const
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (juce::roundToInt (ms * waitScale));
}

int FirmwareUpgradeComponent::runStepDialog (const juce::String& title, juce::Component& content)
{
    juce::DialogWindow::LaunchOptions options;
    options.dialogTitle = title;
    options.content.setNonOwned (&content);
    options.componentToCentreAround = this;
    options.escapeKeyTriggersCloseButton = true;
    options.resizable = false;
    options.useNativeTitleBar = true;
    return ContentSizedDialog::runModal (options);
}

void FirmwareUpgradeComponent::disableConnectAndEnter()
{
    stepButtons[0].setEnabled (false);
    stepButtons[1].setEnabled (false);
}

FirmwareUpgradeComponent::MidiInputHandler& FirmwareUpgradeComponent::handler()
{
    if (midiHandler == nullptr)
        midiHandler = std::make_unique<MidiInputHandler> (*this, currentPid);

    // A unit of another product may have been accepted since the handler was
    // made: its erase code and its firmware names must be that product's.
    midiHandler->pid = currentPid;
    return *midiHandler;
}

//==============================================================================
FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::connect()
{
    online = onlineDefault;
    deviceName = {};
    bEsc = false;

    // A new run, maybe for another unit: nothing of an earlier one may be sent.
    if (midiHandler != nullptr)
        midiHandler->dropProgram();

    updateProgress (-1);
    protectUI (true);

    const auto numPasses = bAuto ? 4 : 3;

    for (int pass = 0, found = 0; pass < numPasses && found == 0 && ! bEsc; ++pass)
    {
        for (int poll = 0; poll < 5; ++poll)
        {
            found = 0;

            for (const auto& name : DeviceHelpers::getDeviceNames0 (false))
                if (DeviceHelpers::validDeviceName (name, true, bTest_fwug))
                    ++found;

            if (found != 0 || bEsc)
                break;

            wait (1000);
            SetTitle (juce::String::formatted ("(%d)", 5 * pass + poll + 1));
        }
    }

    SetTitle ({});
    protectUI (false);
    updateProgress (-1);

    DeviceSelectComponent dialog (currentPid, {});

    if (runStepDialog (deviceDialogTitle, dialog) != 1)
    {
        SetTitle ({});
        updateProgress (-1);
        return Next::nothing;
    }

    deviceName = dialog.chosenDevice;
    const auto pid = Product::pidFromDeviceName (deviceName);
    pidForCatalogue = currentPid = pid;

    const auto unitPid = bForAnyZuvo ? launchPid : wizardPid;
    const auto accept = [this] (int acceptedPid, bool onlyOneUnit)
    {
        if (! onlyOneUnit)
        {
            showBox (juce::MessageBoxIconType::InfoIcon, "Firmware Upgrade", "Connect ONLY the device you want to update.");
            return Next::nothing;
        }

        goonStep1 (acceptedPid);
        return bAuto && ! bTest_fwug ? Next::step2 : Next::nothing;
    };

    const auto unsupported = [this]
    {
        showBox (juce::MessageBoxIconType::InfoIcon, "Firmware Upgrade",
                 "\"" + deviceName + "\"\nThis device may be not able to be upgraded by this software.");
        return Next::nothing;
    };

    if (pid == 2000)
    {
        if (containsFwugName (deviceName))
            return bTest_fwug ? accept (unitPid, numFwugOutputs() < 2) : askToLeaveUpgradeMode();

        if (isTestModeUnit (deviceName) && bTest_fwug)
            return accept (unitPid, true);

        return unsupported();
    }

    if (numFwugOutputs() > 0)
        return askToLeaveUpgradeMode();

    const auto onlyOneUnit = numberForDevice (deviceName, true) < 2;

    if (bForAnyZuvo)
        return accept (pid, onlyOneUnit);

    if (pid == wizardPid)
        return accept (wizardPid, onlyOneUnit);

    showBox (juce::MessageBoxIconType::InfoIcon, "Firmware Upgrade", "The current Rilo cannot upgrade for this device.");
    return Next::nothing;
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::askToLeaveUpgradeMode()
{
    if (! bAuto
        && ! juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::InfoIcon, "Firmware Upgrade",
                                                 "It looks like some of your units are already in firmware upgrade mode. \n"
                                                 " Do you want to let them leave firmware upgrade mode?",
                                                 "Yes", "No"))
        return Next::nothing;

    if (! resetAllFwug0())
        showBox (juce::MessageBoxIconType::WarningIcon, "Firmware Upgrade",
                 "It looks like your device is still in firmware upgrade mode. \n"
                 "Please turn off and turn on the device and try again.");

    return Next::nothing;
}

bool FirmwareUpgradeComponent::goonStep1 (int pid)
{
    currentPid = pidForCatalogue = pid;
    SetTitle (Product::getName (Product::validPID (pid) ? pid : 2000));
    updateProgress (0);
    return true;
}

//==============================================================================
FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::enterUpgradeMode()
{
    updateProgress (0);
    const auto outputs = midiports::getOutputDevices();
    protectUI (true);
    runLoop (100);

    const auto portName = DeviceHelpers::convFwugMan (deviceName);
    const auto index = portName.isEmpty() ? -1 : outputs.indexOf (portName);
    auto output = index >= 0 ? midiports::openOutputDevice (index) : nullptr;
    bool success = false;

    if (output == nullptr)
    {
        success = numFwugOutputs() > 0;
    }
    else if (containsFwugName (output->getName()))
    {
        success = true;
    }
    else
    {
        // Escape ends the retries after the check that sees it.
        for (int attempt = 0, aborted = 0; attempt < 3 && ! success && ! aborted; ++attempt)
        {
            runLoop (100);
            const auto forms = requestFormsFor (currentPid);

            if (forms.nineBytes)
            {
                output->sendMessageNow (midiExtraMessage());
                output->sendMessageNow (makeFirmwareUpgradeRequestX (currentPid, 9));
            }

            if (forms.nineBytes && forms.eightBytes)
                juce::MessageManager::getInstance()->runDispatchLoopUntil (2);

            if (forms.eightBytes)
            {
                output->sendMessageNow (midiExtraMessage());
                output->sendMessageNow (makeFirmwareUpgradeRequestX (currentPid, 8));
            }

            for (int check = 0; check < 8 && ! success && ! aborted; ++check)
            {
                for (int slice = 0; slice < 5; ++slice)
                    runLoop (100);

                success = numFwugOutputs() > 0;
                aborted = bEsc;
            }
        }
    }

    output.reset();
    protectUI (false);

    if (success)
    {
        updateProgress (1);
        return bAuto ? Next::step3 : Next::nothing;
    }

    updateProgress (bTest_fwug && isTestModeUnit (deviceName) ? 1 : 0);
    return Next::nothing;
}

//==============================================================================
FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::activate()
{
    updateProgress (1);
    disableConnectAndEnter();
    protectUI (true);
    runLoop (50);
    auto& loader = handler();

    DeviceSelectComponent dialog (currentPid, fwugName);
    const auto confirmed = runStepDialog (deviceDialogTitle, dialog) == 1;
    protectUI (false);
    updateProgress (1);

    const auto next = bAuto && confirmed ? Next::step4 : Next::nothing;

    if (! confirmed)
    {
        updateProgress (1);
        stepButtons[0].setEnabled (true);
        return next;
    }

    upgradePortName = DeviceHelpers::convFwugMan (dialog.chosenDevice);

    if (! containsFwugName (upgradePortName) && ! (bTest_fwug && ! bAuto && isTestModeUnit (upgradePortName)))
    {
        showBox (juce::MessageBoxIconType::WarningIcon, "Step 3", "Please select the unit \"Zuvo firmware upgrade\"");
        updateProgress (1);
        stepButtons[0].setEnabled (true);
        return next;
    }

    if (std::find (std::begin (pairedProducts), std::end (pairedProducts), currentPid) != std::end (pairedProducts))
    {
        launchPid = currentPid;
        pidForCatalogue = currentPid = productOfSharedUpgradePort (upgradePortName);
    }

    loader.start (upgradePortName);
    runLoop (10);

    if (loader.input != nullptr && loader.output != nullptr)
    {
        updateProgress (2);
        stepButtons[0].setEnabled (false);
    }
    else
    {
        showBox (juce::MessageBoxIconType::InfoIcon, "Midi Device",
                 "Could not open the selected MIDI input device: " + upgradePortName);
        updateProgress (1);
        stepButtons[0].setEnabled (true);
    }

    return next;
}

//==============================================================================
FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::loadFirmware()
{
    updateProgress (2);
    disableConnectAndEnter();

    // Only an image opened by this step may be sent: a failed or cancelled
    // step leaves none.
    handler().dropProgram();

    // Escape, the close button and a quit of the program end the step's transfers.
    transferCancelled = false;
    const Network::ScopedCancelCheck cancelCheck ([this] { return transfersStopped(); });

    return online ? loadFromCatalogue() : loadFromFile();
}

bool FirmwareUpgradeComponent::transfersStopped() const
{
    return transferCancelled || closing || juce::MessageManager::getInstance()->hasStopMessageBeenSent();
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::loadFromCatalogue()
{
    firmwares = juce::ValueTree ("firmwares");
    Product::fetchAvailableFirmwares (pidForCatalogue, firmwares);

    if (transfersStopped())
        return Next::nothing;

    if (firmwares.getNumChildren() == 0)
        return loadFromFile();

    FirmwareSelectComponent dialog (firmwares);

    if (runStepDialog ("Firmware Version", dialog) != 1 || closing)
        return Next::nothing;

    return download (dialog.getDownloadUrl());
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::download (const juce::URL& image)
{
    protectUI (true);
    const auto answer = Network::fetch (image, (juce::int64) MidiInputHandler::maxProgramSize,
                                        Network::getTimeouts().imageDeadlineMs);
    protectUI (false);
    updateProgress (2);

    // Stopped by the user: nothing is loaded, and nothing to report.
    if (transfersStopped())
        return Next::nothing;

    if (isFirmwareImage (answer))
    {
        const juce::TemporaryFile temporary;
        firmwareFile = temporary.getFile();

        if (firmwareFile.replaceWithData (answer.body.getData(), answer.body.getSize()))
            handler().openProgram (firmwareFile);
    }

    if (handler().programSize == 0)
    {
        showBox (juce::MessageBoxIconType::WarningIcon, "Firmware Download", "Could not download firmware file");
        return Next::nothing;
    }

    return imageLoaded();
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::loadFromFile()
{
    const auto chosen = chooseFile ({ "Choose The Firmware File", firmwareFile, "*.bin" });

    if (chosen == juce::File())
        return Next::nothing;

    firmwareFile = chosen;
    const auto name = firmwareFile.getFileNameWithoutExtension().toLowerCase().trim();

    if (! isValidFmwName (name, (unsigned) handler().pid))
    {
        showBox (juce::MessageBoxIconType::WarningIcon, "Load File", "Not the matching firmware!");
        return Next::nothing;
    }

    handler().openProgram (firmwareFile);
    return imageLoaded();
}

FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::imageLoaded()
{
    updateProgress (3);
    disableConnectAndEnter();
    return bAuto && ! bEsc ? Next::step5 : Next::nothing;
}

//==============================================================================
FirmwareUpgradeComponent::Next FirmwareUpgradeComponent::upgrade()
{
    updateProgress (3);
    disableConnectAndEnter();
    auto& loader = handler();

    if (auto* top = getTopLevelComponent())
        top->toFront (true);

    juce::Desktop::setScreenSaverEnabled (false);
    protectUI (true);

    uploading = true;
    const auto result = loader.sendProgram();
    uploading = false;

    loader.stop();
    wait (800);
    protectUI (false);
    juce::Desktop::setScreenSaverEnabled (true);
    progressCaption.setText ("Firmware Upgrade", juce::dontSendNotification);

    if (result.wasOk())
    {
        if (! bAuto)
            showBox (juce::MessageBoxIconType::InfoIcon, "Firmware Upgrade Success", "Your firmware has been upgraded!");

        wait (600);
        updateProgress (4);
    }
    else
    {
        showBox (juce::MessageBoxIconType::WarningIcon, "Firmware Upgrade Error", result.getErrorMessage());
    }

    SetTitle ({});
    wait (300);
    updateProgress (-1);
    wait (600);
    deviceName = upgradePortName = {};
    progressCaption.setText ("Firmware Upgrade", juce::dontSendNotification);

    if (! (bAuto && bSerial && ! bEsc))
        return Next::nothing;

    if (_num_UpgradeSuccess < seriesLength)
        return Next::step1;

    _num_UpgradeSuccess = 0;
    return Next::nothing;
}

} // namespace zuvo
