<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>::SetFileSize()</name>
    <message>
        <source>%1 KB</source>
        <extracomment>file size in kilobytes</extracomment>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Click the link in the error message for more information</source>
        <translation>Klicken Sie auf den Link in der Fehlermeldung, um mehr zu erfahren</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>column headers: the error code and reason, the file&apos;s path</extracomment>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>button: open the listed files anyway</extracomment>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>FileAnalysisRunner</name>
    <message>
        <source>Portavo</source>
        <translation>Portavo</translation>
    </message>
    <message>
        <source>Analyzing...</source>
        <translation>Analyse läuft …</translation>
    </message>
    <message>
        <source>Analyzing... %1/%2</source>
        <translation>Analyse läuft … %1/%2</translation>
    </message>
</context>
<context>
    <name>FileInfoModel</name>
    <message>
        <source>Waiting</source>
        <extracomment>file state in the progress list: not started yet</extracomment>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>Konvertierungsfehler</translation>
    </message>
    <message>
        <source>Ready</source>
        <extracomment>file state: converted, waiting to be written</extracomment>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Burning</source>
        <extracomment>file state: being written to a disc / being copied to a USB drive</extracomment>
        <translation>Brennen</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Überträgt</translation>
    </message>
    <message>
        <source>Canceled</source>
        <extracomment>file state</extracomment>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>file state: on the disc or USB drive</extracomment>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Failed</source>
        <extracomment>file state: could not be written</extracomment>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>column header: file name</extracomment>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>column header: file size</extracomment>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Progress</source>
        <extracomment>column header (83 pixels wide): state of each file / estimated time to transfer it</extracomment>
        <translation>Status</translation>
    </message>
    <message>
        <source>Transfer Time</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>MB</source>
        <extracomment>unit of the free space shown in large type; megabytes</extracomment>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <extracomment>gigabytes</extracomment>
        <translation>GB</translation>
    </message>
    <message>
        <source>TB</source>
        <extracomment>terabytes</extracomment>
        <translation>TB</translation>
    </message>
    <message>
        <source>Includes the conversion; press Enter to learn why it takes longer</source>
        <translation>Einschließlich Konvertierung; drücken Sie die Eingabetaste, um zu erfahren, warum es länger dauert</translation>
    </message>
    <message>
        <source>part of the file could not be read</source>
        <translation>ein Teil der Datei war nicht lesbar</translation>
    </message>
    <message>
        <source>its number of video tracks</source>
        <translation>der Anzahl der Videospuren</translation>
    </message>
    <message>
        <source>its file type</source>
        <translation>des Dateityps</translation>
    </message>
    <message>
        <source>its video format</source>
        <translation>des Videoformats</translation>
    </message>
    <message>
        <source>its picture size</source>
        <translation>der Bildgröße</translation>
    </message>
    <message>
        <source>its frame rate</source>
        <translation>der Bildrate</translation>
    </message>
    <message>
        <source>its colour format</source>
        <translation>des Farbformats</translation>
    </message>
    <message>
        <source>its video bit rate</source>
        <translation>der Videobitrate</translation>
    </message>
    <message>
        <source>its H.264 profile or level</source>
        <translation>des H.264-Profils oder -Levels</translation>
    </message>
    <message>
        <source>its audio format</source>
        <translation>des Audioformats</translation>
    </message>
    <message>
        <source>its number of audio channels</source>
        <translation>der Anzahl der Audiokanäle</translation>
    </message>
    <message>
        <source>its audio bit rate</source>
        <translation>der Audiobitrate</translation>
    </message>
    <message>
        <source>Converted for your device.</source>
        <translation>Für Ihr Gerät konvertiert.</translation>
    </message>
    <message>
        <source>Converted for your device: %1.</source>
        <translation>Für Ihr Gerät konvertiert: %1.</translation>
    </message>
    <message>
        <source>Converted for your device because of %1.</source>
        <translation>Wegen %1 für Ihr Gerät konvertiert.</translation>
    </message>
    <message>
        <source>Not copied</source>
        <translation>Nicht kopiert</translation>
    </message>
    <message>
        <source>The file as it is: your device plays it without conversion.</source>
        <translation>Die Datei unverändert: Ihr Gerät spielt sie ohne Konvertierung ab.</translation>
    </message>
    <message>
        <source>Size after conversion (the file itself: %1).</source>
        <translation>Größe nach der Konvertierung (die Datei selbst: %1).</translation>
    </message>
    <message>
        <source>What is written to the destination: for videos marked as converted, the size after conversion.</source>
        <translation>Was auf das Ziel geschrieben wird: bei als konvertiert markierten Videos die Größe nach der Konvertierung.</translation>
    </message>
</context>
<context>
    <name>FileTypes</name>
    <message>
        <source>All Video</source>
        <extracomment>the Add dialog&apos;s filter of every readable type, shown as &quot;%1 files&quot;</extracomment>
        <translation>Alle Video</translation>
    </message>
</context>
<context>
    <name>FinishPageDrive</name>
    <message>
        <source>Eject</source>
        <translation>Auswerfen</translation>
    </message>
    <message>
        <source>Safely remove the USB drive</source>
        <translation>USB-Laufwerk sicher entfernen</translation>
    </message>
    <message>
        <source>Ejecting the USB drive...</source>
        <translation>USB-Laufwerk wird ausgeworfen...</translation>
    </message>
    <message>
        <source>On the drive:</source>
        <translation>Auf dem Laufwerk:</translation>
    </message>
    <message>
        <source>%1 (renamed from &quot;%2&quot;)</source>
        <translation>%1 (umbenannt, vorher „%2“)</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weitere</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>The USB drive can be removed now.</source>
        <translation>Sie können das USB-Laufwerk jetzt entfernen.</translation>
    </message>
    <message>
        <source>The USB drive is no longer in use and can be removed now.</source>
        <translation>Das USB-Laufwerk wird nicht mehr verwendet und kann jetzt entfernt werden.</translation>
    </message>
    <message>
        <source>The USB drive is busy: another program is using it. Close it and try again.</source>
        <translation>Das USB-Laufwerk ist belegt: Ein anderes Programm verwendet es. Schließen Sie das Programm und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The USB drive is busy: %1 is using it. Close it and try again.</source>
        <translation>Das USB-Laufwerk ist belegt: %1 verwendet es. Schließen Sie das Programm und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>You are not permitted to eject this USB drive.</source>
        <translation>Sie sind nicht berechtigt, dieses USB-Laufwerk auszuwerfen.</translation>
    </message>
    <message>
        <source>The USB drive could not be ejected: %1</source>
        <translation>Das USB-Laufwerk konnte nicht ausgeworfen werden: %1</translation>
    </message>
</context>
<context>
    <name>HelpChooseDialog</name>
    <message>
        <source>Help choose your device type</source>
        <translation>Hilfe bei der Wahl des Gerätetyps</translation>
    </message>
    <message>
        <source>The recommended option will be compatible with any Kavo Certified device.  If you are unsure which type of device you have, always choose the recommended option.</source>
        <translation>Die empfohlene Option ist mit jedem Kavo-zertifizierten Gerät kompatibel. Wenn Sie nicht sicher sind, welchen Gerätetyp Sie haben, wählen Sie immer die empfohlene Option.</translation>
    </message>
    <message>
        <source>Learn more about Kavo Certified devices</source>
        <translation>Mehr über Kavo-zertifizierte Geräte</translation>
    </message>
</context>
<context>
    <name>HelpLinkOpener</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>No program to show this help page was found. The page is at:

%1</source>
        <translation>Es wurde kein Programm gefunden, das diese Hilfeseite anzeigen kann. Die Seite liegt hier:

%1</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Portavo Help</source>
        <translation>Portavo-Hilfe</translation>
    </message>
</context>
<context>
    <name>ResultCodeReason</name>
    <message>
        <source>converter busy or not available</source>
        <translation>Konverter belegt oder nicht verfügbar</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>converter failed</source>
        <translation>Konverter fehlgeschlagen</translation>
    </message>
    <message>
        <source>not examined</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>damaged or cut short</source>
        <translation>beschädigt oder unvollständig</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>already in the list</source>
        <translation>bereits in der Liste</translation>
    </message>
    <message>
        <source>not a usable video file</source>
        <translation>keine verwendbare Videodatei</translation>
    </message>
    <message>
        <source>took too long to examine</source>
        <translation>Prüfung dauerte zu lange</translation>
    </message>
    <message>
        <source>subtitles cannot be converted</source>
        <translation>Untertitel nicht konvertierbar</translation>
    </message>
    <message>
        <source>not a video file</source>
        <translation>keine Videodatei</translation>
    </message>
    <message>
        <source>no video track</source>
        <translation>keine Videospur</translation>
    </message>
    <message>
        <source>sound cannot be read</source>
        <translation>Ton nicht lesbar</translation>
    </message>
    <message>
        <source>variable frame rate</source>
        <translation>variable Bildrate</translation>
    </message>
    <message>
        <source>cannot be made to fit the device</source>
        <translation>nicht an das Gerät anpassbar</translation>
    </message>
    <message>
        <source>video format cannot be decoded</source>
        <translation>Videoformat nicht decodierbar</translation>
    </message>
    <message>
        <source>sound format cannot be decoded</source>
        <translation>Tonformat nicht decodierbar</translation>
    </message>
    <message>
        <source>encoder missing</source>
        <translation>Encoder fehlt</translation>
    </message>
    <message>
        <source>could not write the converted file</source>
        <translation>konvertierte Datei nicht schreibbar</translation>
    </message>
    <message>
        <source>unusual picture size</source>
        <translation>ungewöhnliche Bildgröße</translation>
    </message>
    <message>
        <source>parts do not match</source>
        <translation>Teile passen nicht zusammen</translation>
    </message>
    <message>
        <source>no permission to read it</source>
        <translation>keine Leseberechtigung</translation>
    </message>
    <message>
        <source>converter stopped on it</source>
        <translation>Konverter hat hier angehalten</translation>
    </message>
</context>
<context>
    <name>SenseText</name>
    <message>
        <source>there is no disc in the drive</source>
        <translation>im Laufwerk liegt keine Disc</translation>
    </message>
    <message>
        <source>the drive is not ready: the disc is still being loaded</source>
        <translation>das Laufwerk ist nicht bereit: Die Disc wird noch geladen</translation>
    </message>
    <message>
        <source>the disc is write-protected</source>
        <translation>die Disc ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the disc is not compatible with this drive (incompatible medium)</source>
        <translation>die Disc ist mit diesem Laufwerk nicht kompatibel (inkompatibles Medium)</translation>
    </message>
    <message>
        <source>the disc is not writable (it is closed or full)</source>
        <translation>die Disc ist nicht beschreibbar (sie ist abgeschlossen oder voll)</translation>
    </message>
    <message>
        <source>the disc is not writable in the way the drive was asked</source>
        <translation>die Disc kann nicht auf die angeforderte Weise beschrieben werden</translation>
    </message>
    <message>
        <source>power calibration failed: the disc may be of poor quality or unsuited to this drive; try a disc of another brand</source>
        <translation>Laserkalibrierung fehlgeschlagen: Die Disc ist möglicherweise von schlechter Qualität oder für dieses Laufwerk ungeeignet; versuchen Sie eine Disc einer anderen Marke</translation>
    </message>
    <message>
        <source>buffer underrun: the data did not reach the drive fast enough</source>
        <translation>Pufferunterlauf: Die Daten kamen nicht schnell genug beim Laufwerk an</translation>
    </message>
    <message>
        <source>the drive could not write to the disc</source>
        <translation>das Laufwerk konnte nicht auf die Disc schreiben</translation>
    </message>
    <message>
        <source>the disc could not be read back</source>
        <translation>die Disc konnte nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>the disc was changed during the write</source>
        <translation>die Disc wurde während des Schreibens gewechselt</translation>
    </message>
    <message>
        <source>the drive was reset during the write</source>
        <translation>das Laufwerk wurde während des Schreibens zurückgesetzt</translation>
    </message>
    <message>
        <source>the drive reported a hardware fault</source>
        <translation>das Laufwerk hat einen Hardwarefehler gemeldet</translation>
    </message>
    <message>
        <source>the recorder was disconnected or switched off during the write</source>
        <translation>der Brenner wurde während des Schreibens getrennt oder ausgeschaltet</translation>
    </message>
    <message>
        <source>the drive reported an error it did not explain (sense %1)</source>
        <translation>das Laufwerk hat einen nicht näher erklärten Fehler gemeldet (Sense %1)</translation>
    </message>
    <message>
        <source>%1 (drive sense %2)</source>
        <translation>%1 (Laufwerk-Sense %2)</translation>
    </message>
    <message>
        <source>what was read back from the disc differs from the video (verify failed)</source>
        <translation>die von der Disc zurückgelesenen Daten weichen vom Video ab (Prüfung fehlgeschlagen)</translation>
    </message>
    <message>
        <source>the videos do not fit on the disc</source>
        <translation>die Videos passen nicht auf die Disc</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>im Laufwerk liegt keine beschreibbare Disc bereit</translation>
    </message>
    <message>
        <source>another program is using the recorder</source>
        <translation>ein anderes Programm verwendet den Brenner</translation>
    </message>
    <message>
        <source>your account may not use the recorder</source>
        <translation>Ihr Benutzerkonto darf den Brenner nicht verwenden</translation>
    </message>
    <message>
        <source>the disc in the drive cannot be written</source>
        <translation>die Disc im Laufwerk kann nicht beschrieben werden</translation>
    </message>
    <message>
        <source>the video could not be read from the hard disk</source>
        <translation>das Video konnte nicht von der Festplatte gelesen werden</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>der Brenner wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the recorder failed (%1)</source>
        <translation>der Brenner ist fehlgeschlagen (%1)</translation>
    </message>
</context>
<context>
    <name>TransferDevicesLibrary::TransferDevices</name>
    <message>
        <source>Your device&apos;s saved choices cannot be used right now: another program is using the device memory file %1. Portavo carries on without them and tries again later.</source>
        <translation>Die gespeicherten Einstellungen Ihres Geräts können gerade nicht verwendet werden: Ein anderes Programm verwendet die Gerätespeicherdatei %1. Portavo arbeitet ohne sie weiter und versucht es später erneut.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the folder for %1 cannot be created (%2).</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: Der Ordner für %1 kann nicht erstellt werden (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be created (%2).</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: %1 kann nicht erstellt werden (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: there is no folder for its device memory (HOME is not set).</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: Es gibt keinen Ordner für den Gerätespeicher (HOME ist nicht gesetzt).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be opened (%2).</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: %1 kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged or unreadable (%2). It is left as it is.</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: Die Gerätespeicherdatei %1 ist beschädigt oder nicht lesbar (%2). Sie bleibt unverändert.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged. It is left as it is.</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: Die Gerätespeicherdatei %1 ist beschädigt. Sie bleibt unverändert.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 is not its device memory but some other database. It is left as it is.</source>
        <translation>Portavo kann sich Ihre Geräte nicht merken: %1 ist nicht sein Gerätespeicher, sondern eine andere Datenbank. Sie bleibt unverändert.</translation>
    </message>
</context>
<context>
    <name>TransferWizardController</name>
    <message>
        <source>Device Memory</source>
        <extracomment>title of a box: the device library that remembers choices per device</extracomment>
        <translation>Gerätespeicher</translation>
    </message>
    <message>
        <source>DVD Player</source>
        <extracomment>device kind; it completes &quot;This choice will work with any Kavo Certified %1&quot;</extracomment>
        <translation>DVD-Player</translation>
    </message>
    <message>
        <source>Blu-ray Player</source>
        <translation>Blu-ray-Player</translation>
    </message>
    <message>
        <source>TV</source>
        <extracomment>device kind: a television</extracomment>
        <translation>Fernseher</translation>
    </message>
    <message>
        <source>Playstation 3</source>
        <translation>PlayStation 3</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>Mobiltelefon</translation>
    </message>
    <message>
        <source>You can only perform one transfer at a time with Portavo. Please finish or close the current transfer before proceeding.</source>
        <translation>Mit Portavo ist jeweils nur eine Übertragung möglich. Bitte schließen Sie die laufende Übertragung ab, bevor Sie fortfahren.</translation>
    </message>
    <message>
        <source>Add Video Error</source>
        <translation>Fehler beim Hinzufügen</translation>
    </message>
    <message>
        <source>the file could not be converted (error %1)</source>
        <translation>die Datei konnte nicht konvertiert werden (Fehler %1)</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>der Brenner wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the disc is full</source>
        <translation>die Disc ist voll</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>im Laufwerk liegt keine beschreibbare Disc bereit</translation>
    </message>
    <message>
        <source>no recorder was chosen</source>
        <translation>es wurde kein Brenner ausgewählt</translation>
    </message>
    <message>
        <source>the burn was stopped</source>
        <translation>das Brennen wurde abgebrochen</translation>
    </message>
    <message>
        <source>the recorder is in use by another program</source>
        <translation>der Brenner wird von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <source>the disc could not be written</source>
        <translation>die Disc konnte nicht beschrieben werden</translation>
    </message>
    <message>
        <source>Transfer failed. %1 could not be written: %2.</source>
        <translation>Übertragung fehlgeschlagen. %1 konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>die Datei wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the recorder %1 is not available</source>
        <translation>der Brenner %1 ist nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>TransferWizardDlg</name>
    <message>
        <source>Welcome to Portavo™</source>
        <translation>Willkommen bei Portavo™</translation>
    </message>
    <message>
        <source>Portavo™ makes it easy to watch your favorite videos on your DVD Player, Blu-ray Player, PlayStation® 3 or Digital Television by transferring them using a USB drive or by burning a disc.</source>
        <translation>Mit Portavo™ sehen Sie Ihre Lieblingsvideos ganz einfach auf Ihrem DVD-Player, Blu-ray-Player, Ihrer PlayStation® 3 oder Ihrem Digitalfernseher: Übertragen Sie sie auf ein USB-Laufwerk oder brennen Sie sie auf eine Disc.</translation>
    </message>
    <message>
        <source>Click &apos;Next&apos; to get started.</source>
        <translation>Klicken Sie auf „Weiter“, um zu beginnen.</translation>
    </message>
    <message>
        <source>Choose your device type</source>
        <translation>Wählen Sie Ihren Gerätetyp</translation>
    </message>
    <message>
        <source>Which type of Kavo Certified device do you have?</source>
        <translation>Welche Art von Kavo-zertifiziertem Gerät haben Sie?</translation>
    </message>
    <message>
        <source>Recommended</source>
        <extracomment>beside the recommended profile</extracomment>
        <translation>Empfohlen</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Help me choose&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Hilfe bei der Auswahl&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Choose a transfer method</source>
        <translation>Wählen Sie eine Übertragungsmethode</translation>
    </message>
    <message>
        <source>How would you like to transfer your videos?</source>
        <translation>Wie möchten Sie Ihre Videos übertragen?</translation>
    </message>
    <message>
        <source>Burn a CD/DVD</source>
        <translation>CD/DVD brennen</translation>
    </message>
    <message>
        <source>USB Drive</source>
        <extracomment>transfer method: copy to a USB drive</extracomment>
        <translation>USB-Laufwerk</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Learn more&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Mehr erfahren&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Add or remove videos</source>
        <translation>Videos hinzufügen oder entfernen</translation>
    </message>
    <message>
        <source>Space remaining:</source>
        <extracomment>free space left on the drive after the listed videos</extracomment>
        <translation>Freier Speicher:</translation>
    </message>
    <message>
        <source>No Drive</source>
        <extracomment>shown in large type where the free space of the drive would be</extracomment>
        <translation>Kein Laufwerk</translation>
    </message>
    <message>
        <source>Your USB drive/disc is full.  Please remove one or more videos to continue.</source>
        <translation>Ihr USB-Laufwerk bzw. Ihre Disc ist voll. Bitte entfernen Sie ein oder mehrere Videos, um fortzufahren.</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>button: add videos to the list</extracomment>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add videos</source>
        <translation>Videos hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>button: remove the selected videos from the list</extracomment>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove the selected videos</source>
        <translation>Ausgewählte Videos entfernen</translation>
    </message>
    <message>
        <source>Total transfer time: </source>
        <translation>Gesamtdauer: </translation>
    </message>
    <message>
        <source>Transferring videos</source>
        <translation>Videos werden übertragen</translation>
    </message>
    <message>
        <source>Converting video</source>
        <translation>Video wird konvertiert</translation>
    </message>
    <message>
        <source>Counting...</source>
        <extracomment>remaining time not yet known</extracomment>
        <translation>Wird berechnet …</translation>
    </message>
    <message>
        <source>Transfer Complete</source>
        <translation>Übertragung abgeschlossen</translation>
    </message>
    <message>
        <source>Portavo™ has successfully transferred your videos to your disc/USB drive.  Your settings will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo™ hat Ihre Videos erfolgreich auf Ihre Disc bzw. Ihr USB-Laufwerk übertragen. Ihre Einstellungen werden gespeichert, damit die nächste Übertragung auf dieses Gerät schneller geht.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc/USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Um Ihr Video anzusehen, legen Sie die Disc ein bzw. schließen Sie das USB-Laufwerk an Ihr Kavo-zertifiziertes Gerät an. Viel Spaß!</translation>
    </message>
    <message>
        <source>You need to play the registration video first before you can play Kavo VOD movie properly.</source>
        <translation>Sie müssen zuerst das Registrierungsvideo abspielen, damit Kavo-VOD-Filme richtig wiedergegeben werden.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Need Help?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Brauchen Sie Hilfe?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>GERÄT</translation>
    </message>
    <message>
        <source>METHOD</source>
        <extracomment>wizard step: the transfer method, in capitals</extracomment>
        <translation>METHODE</translation>
    </message>
    <message>
        <source>VIDEOS</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>VIDEOS</translation>
    </message>
    <message>
        <source>TRANSFER</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>ÜBERTRAGUNG</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>wizard button: previous page</extracomment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Start</source>
        <extracomment>wizard button: start the transfer</extracomment>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>wizard button: next page</extracomment>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>wizard button: cancel the running transfer</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Transfer failed</source>
        <translation>Übertragung fehlgeschlagen</translation>
    </message>
    <message>
        <source>No CD/DVD burner drive found.</source>
        <translation>Kein CD/DVD-Brenner gefunden.</translation>
    </message>
    <message>
        <source>Insert USB drive</source>
        <translation>USB-Laufwerk anschließen</translation>
    </message>
    <message>
        <source>No USB drive found. Please insert USB drive.</source>
        <translation>Kein USB-Laufwerk gefunden. Bitte schließen Sie ein USB-Laufwerk an.</translation>
    </message>
    <message>
        <source>There is no disc detected.  Please insert a disc or select another drive to continue.</source>
        <translation>Es wurde keine Disc erkannt. Bitte legen Sie eine Disc ein oder wählen Sie ein anderes Laufwerk, um fortzufahren.</translation>
    </message>
    <message>
        <source>There is no USB drive detected.  Please insert a USB drive or select another drive to continue.</source>
        <translation>Es wurde kein USB-Laufwerk erkannt. Bitte schließen Sie ein USB-Laufwerk an oder wählen Sie ein anderes Laufwerk, um fortzufahren.</translation>
    </message>
    <message>
        <source>Unable to write to the disc that is inserted. Please insert another disc to continue.</source>
        <translation>Auf die eingelegte Disc kann nicht geschrieben werden. Bitte legen Sie eine andere Disc ein, um fortzufahren.</translation>
    </message>
    <message>
        <source>Unable to write to the USB drive that is inserted. Please insert another USB drive to continue.</source>
        <translation>Auf das angeschlossene USB-Laufwerk kann nicht geschrieben werden. Bitte schließen Sie ein anderes USB-Laufwerk an, um fortzufahren.</translation>
    </message>
    <message>
        <source>Your Disc is full.  Please insert another disc to continue.</source>
        <translation>Ihre Disc ist voll. Bitte legen Sie eine andere Disc ein, um fortzufahren.</translation>
    </message>
    <message>
        <source>Your USB Drive is full.  Please remove one or more videos to continue.</source>
        <translation>Ihr USB-Laufwerk ist voll. Bitte entfernen Sie ein oder mehrere Videos, um fortzufahren.</translation>
    </message>
    <message>
        <source>Your USB drive does not have enough free space available for this transfer.  Please remove one or more videos or make room on your USB drive to continue.</source>
        <translation>Ihr USB-Laufwerk hat zu wenig freien Speicher. Bitte entfernen Sie Videos oder schaffen Sie Platz auf dem Laufwerk.</translation>
    </message>
    <message>
        <source>USB drive must be formatted %1.  Please insert another USB drive to continue.</source>
        <translation>Das USB-Laufwerk muss mit %1 formatiert sein. Bitte schließen Sie ein anderes USB-Laufwerk an, um fortzufahren.</translation>
    </message>
    <message>
        <source>The video %1 is 4 GB or larger and cannot be stored on a USB drive formatted %2.  Please remove the video or insert a USB drive formatted NTFS or exFAT to continue.</source>
        <translation>Das Video %1 ist 4 GB oder größer und passt nicht auf ein USB-Laufwerk mit %2. Bitte entfernen Sie das Video oder schließen Sie ein Laufwerk mit NTFS oder exFAT an.</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>wizard button on the last page: closes the wizard</extracomment>
        <translation>Fertig stellen</translation>
    </message>
    <message>
        <source>This choice will work with any Kavo Certified %1</source>
        <translation>Diese Auswahl funktioniert mit jedem Kavo-zertifizierten Gerät (%1)</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo HD Certified %1</source>
        <translation>Wählen Sie dies nur, wenn Ihr Gerät (%1) Kavo-HD-zertifiziert ist</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo Plus HD Certified %1</source>
        <translation>Wählen Sie dies nur, wenn Ihr Gerät (%1) Kavo-Plus-HD-zertifiziert ist</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your CD/DVD. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo hat Ihre Videos erfolgreich auf Ihre CD/DVD übertragen. Ihre Auswahl wird gespeichert, damit die nächste Übertragung auf dieses Gerät schneller geht.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc into your Kavo Certified device and enjoy!</source>
        <translation>Um Ihr Video anzusehen, legen Sie die Disc in Ihr Kavo-zertifiziertes Gerät ein. Viel Spaß!</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your USB Drive. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo hat Ihre Videos erfolgreich auf Ihr USB-Laufwerk übertragen. Ihre Auswahl wird gespeichert, damit die nächste Übertragung auf dieses Gerät schneller geht.</translation>
    </message>
    <message>
        <source>To watch your video, insert the USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Um Ihr Video anzusehen, schließen Sie das USB-Laufwerk an Ihr Kavo-zertifiziertes Gerät an. Viel Spaß!</translation>
    </message>
    <message>
        <source>Estimated remaining time:</source>
        <translation>Geschätzte Restzeit:</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>a file type of the Add dialog&apos;s filter; %1 is its name (&quot;MPEG-4&quot;, &quot;All Video&quot;)</extracomment>
        <translation>%1-Dateien</translation>
    </message>
    <message>
        <source>Open Video</source>
        <extracomment>title of the file dialog that adds videos</extracomment>
        <translation>Video öffnen</translation>
    </message>
    <message>
        <source>Invalid Files</source>
        <translation>Ungültige Dateien</translation>
    </message>
    <message>
        <source>Kavo Transfer Wizard is unable to recognize the following files:</source>
        <translation>Kavo Transfer Wizard kann die folgenden Dateien nicht erkennen:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>If you choose to close window, your progress will be lost.</source>
        <translation>Wenn Sie das Fenster schließen, geht Ihr Fortschritt verloren.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer and close window?</source>
        <translation>Möchten Sie diese Übertragung wirklich abbrechen und das Fenster schließen?</translation>
    </message>
    <message>
        <source>If you choose to cancel the transfer process, your progress will be lost.</source>
        <translation>Wenn Sie die Übertragung abbrechen, geht Ihr Fortschritt verloren.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer?</source>
        <translation>Möchten Sie diese Übertragung wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Error %1: There was an error with the file %2 and the file cannot be converted. The transfer cannot be completed.</source>
        <translation>Fehler %1: Bei der Datei %2 ist ein Fehler aufgetreten, sie kann nicht konvertiert werden. Die Übertragung kann nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>Error: %1. There was an error with the file %2 and the file cannot be converted. 

Would you like to continue with transferring the remaing files? </source>
        <translation>Fehler: %1. Bei der Datei %2 ist ein Fehler aufgetreten, sie kann nicht konvertiert werden.

Möchten Sie mit der Übertragung der übrigen Dateien fortfahren?</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>Dateiinformationen</translation>
    </message>
    <message>
        <source>Why do some file types take longer to transfer than others?</source>
        <translation>Warum dauert die Übertragung mancher Dateitypen länger als bei anderen?</translation>
    </message>
    <message>
        <source>Portavo may need to convert your files to ensure that they are compatible with your Kavo Certified device. 

Larger files might also take longer to transfer than smaller files.</source>
        <translation>Portavo muss Ihre Dateien unter Umständen konvertieren, damit sie mit Ihrem Kavo-zertifizierten Gerät kompatibel sind.

Außerdem dauert die Übertragung großer Dateien länger als die kleiner Dateien.</translation>
    </message>
    <message>
        <source>Input files already in queue</source>
        <translation>Dateien bereits in der Warteschlange</translation>
    </message>
    <message>
        <source>Portavo did not add the following input files because they are already in the queue:

%1</source>
        <translation>Portavo hat die folgenden Dateien nicht hinzugefügt, da sie sich bereits in der Warteschlange befinden:

%1</translation>
    </message>
    <message>
        <source>Converting video %1 of %2</source>
        <translation>Video %1 von %2 wird konvertiert</translation>
    </message>
    <message>
        <source>Burning disc</source>
        <translation>Disc wird gebrannt</translation>
    </message>
    <message>
        <source>Transferring to USB drive</source>
        <translation>Übertragung auf USB-Laufwerk</translation>
    </message>
    <message>
        <source>Transfer completed.</source>
        <translation>Übertragung abgeschlossen.</translation>
    </message>
    <message>
        <source>Transfer failed. The destination drive is no longer available.</source>
        <translation>Übertragung fehlgeschlagen. Das Ziellaufwerk ist nicht mehr verfügbar.</translation>
    </message>
    <message>
        <source>Transferring videos %1 of %2</source>
        <translation>Video %1 von %2 wird übertragen</translation>
    </message>
    <message>
        <source>Transfer canceled.</source>
        <translation>Übertragung abgebrochen.</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>wizard button at the end of a transfer: close the wizard / go to the finish page</extracomment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Transfer canceled</source>
        <translation>Übertragung abgebrochen</translation>
    </message>
    <message>
        <source>If you choose to close window, the videos in your list will be removed.</source>
        <translation>Wenn Sie das Fenster schließen, werden die Videos aus Ihrer Liste entfernt.</translation>
    </message>
    <message>
        <source>Are you sure you want to close window?</source>
        <translation>Möchten Sie das Fenster wirklich schließen?</translation>
    </message>
    <message>
        <source>Verifying disc</source>
        <translation>Disc wird geprüft</translation>
    </message>
    <message>
        <source>Unable to write the disc image: %1.</source>
        <translation>Das Disc-Image kann nicht geschrieben werden: %1.</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a DVD.</source>
        <translation>Diese Videos benötigen %1; diese Disc fasst %2. Entfernen Sie etwa %3 an Videos oder wählen Sie eine DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a disc that holds more.</source>
        <translation>Diese Videos benötigen %1; diese Disc fasst %2. Entfernen Sie etwa %3 an Videos oder wählen Sie eine Disc mit mehr Kapazität.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc or a DVD.</source>
        <translation>Diese Videos benötigen %1; auf dieser Disc ist Platz für %2. Entfernen Sie etwa %3 an Videos oder wählen Sie eine leere Disc oder eine DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc.</source>
        <translation>Diese Videos benötigen %1; auf dieser Disc ist Platz für %2. Entfernen Sie etwa %3 an Videos oder wählen Sie eine leere Disc.</translation>
    </message>
    <message>
        <source>These videos need %1; this drive has %2 free.</source>
        <translation>Diese Videos benötigen %1; auf diesem Laufwerk sind %2 frei.</translation>
    </message>
    <message>
        <source>The image file %1 already holds a disc. Remove or rename it to write a new one.</source>
        <translation>Die Imagedatei %1 enthält bereits eine Disc. Entfernen Sie die Datei oder benennen Sie sie um, um eine neue zu schreiben.</translation>
    </message>
    <message>
        <source>The destination drive is no longer available.</source>
        <translation>Das Ziellaufwerk ist nicht mehr verfügbar.</translation>
    </message>
    <message>
        <source>The disc drive %1 is no longer available.</source>
        <translation>Das Disc-Laufwerk %1 ist nicht mehr verfügbar.</translation>
    </message>
    <message>
        <source>The USB drive %1 is no longer available.</source>
        <translation>Das USB-Laufwerk %1 ist nicht mehr verfügbar.</translation>
    </message>
    <message>
        <source>Back to the list</source>
        <translation>Zurück zur Liste</translation>
    </message>
    <message>
        <source>Whole transfer: %1 %</source>
        <translation>Gesamt: %1 %</translation>
    </message>
</context>
<context>
    <name>UDisks2Ejector</name>
    <message>
        <source>the drive is not known to UDisks2</source>
        <translation>das Laufwerk ist UDisks2 nicht bekannt</translation>
    </message>
</context>
<context>
    <name>USBFileCopier</name>
    <message>
        <source>could not open the video</source>
        <translation>das Video konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>could not read the video</source>
        <translation>das Video konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the video is not a regular file</source>
        <translation>das Video ist keine normale Datei</translation>
    </message>
    <message>
        <source>no free file name on the drive</source>
        <translation>auf dem Laufwerk ist kein Dateiname mehr frei</translation>
    </message>
    <message>
        <source>could not create the file on the drive</source>
        <translation>die Datei konnte auf dem Laufwerk nicht erstellt werden</translation>
    </message>
    <message>
        <source>could not copy to the drive</source>
        <translation>das Kopieren auf das Laufwerk ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>could not write to the drive</source>
        <translation>auf das Laufwerk konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the video became shorter while it was copied</source>
        <translation>das Video wurde während des Kopierens kürzer</translation>
    </message>
    <message>
        <source>could not finish writing to the drive</source>
        <translation>das Schreiben auf das Laufwerk konnte nicht abgeschlossen werden</translation>
    </message>
    <message>
        <source>could not name the file on the drive</source>
        <translation>die Datei konnte auf dem Laufwerk nicht benannt werden</translation>
    </message>
    <message>
        <source>could not finish writing the folder on the drive</source>
        <translation>der Ordner konnte auf dem Laufwerk nicht fertig geschrieben werden</translation>
    </message>
    <message>
        <source>the drive&apos;s FAT file system cannot store files of 4 GB or more</source>
        <translation>das FAT-Dateisystem des Laufwerks kann keine Dateien ab 4 GB speichern</translation>
    </message>
</context>
<context>
    <name>UnattendedTransfer</name>
    <message>
        <source>portavo: nothing was transferred: %1</source>
        <translation>portavo: Es wurde nichts übertragen: %1</translation>
    </message>
    <message>
        <source>this device needs a transcode profile: give -profile 0, 1, 3 or 4</source>
        <translation>dieses Gerät benötigt ein Konvertierungsprofil: Geben Sie -profile 0, 1, 3 oder 4 an</translation>
    </message>
    <message>
        <source>%1 is not a USB drive, an &quot;ExtraDrives&quot; folder or an image burner</source>
        <translation>%1 ist weder ein USB-Laufwerk noch ein „ExtraDrives“-Ordner noch ein Abbild-Brenner</translation>
    </message>
    <message>
        <source>none of the files exists</source>
        <translation>keine der Dateien existiert</translation>
    </message>
    <message>
        <source>none of the files can be transferred</source>
        <translation>keine der Dateien kann übertragen werden</translation>
    </message>
    <message>
        <source>portavo: %1 could not be converted (error %2)</source>
        <translation>portavo: %1 konnte nicht konvertiert werden (Fehler %2)</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>die Datei wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the file is not a video that can be transferred</source>
        <translation>die Datei ist kein übertragbares Video</translation>
    </message>
    <message>
        <source>the transfer stopped before this file was written</source>
        <translation>die Übertragung wurde beendet, bevor diese Datei geschrieben wurde</translation>
    </message>
    <message>
        <source>the transfer could not be started</source>
        <translation>die Übertragung konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>portavo: closed the message &quot;%1&quot;</source>
        <translation>portavo: Meldung „%1“ geschlossen</translation>
    </message>
    <message>
        <source>portavo: the destination %1 went away during the transfer</source>
        <translation>portavo: Das Ziel %1 ist während der Übertragung verschwunden</translation>
    </message>
</context>
<context>
    <name>UnsupportedVideoDialog</name>
    <message>
        <source>Unsupported Video</source>
        <translation>Nicht unterstütztes Video</translation>
    </message>
    <message>
        <source>We are sorry, but Portavo does not support this file type</source>
        <translation>Leider unterstützt Portavo diesen Dateityp nicht</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>Mehr erfahren</translation>
    </message>
</context>
<context>
    <name>WindowTitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Minimizes the Portavo window</source>
        <translation>Minimiert das Portavo-Fenster</translation>
    </message>
    <message>
        <source>Closes Portavo</source>
        <translation>Schließt Portavo</translation>
    </message>
</context>
<context>
    <name>WizardAccessibleNames</name>
    <message>
        <source>Drag to move the window</source>
        <translation>Ziehen, um das Fenster zu verschieben</translation>
    </message>
    <message>
        <source>Kavo Certified</source>
        <translation>Kavo-zertifiziert</translation>
    </message>
    <message>
        <source>Works with any Kavo Certified device</source>
        <translation>Funktioniert mit jedem Kavo-zertifizierten Gerät</translation>
    </message>
    <message>
        <source>Kavo HD Certified</source>
        <translation>Kavo-HD-zertifiziert</translation>
    </message>
    <message>
        <source>Only for a Kavo HD Certified device</source>
        <translation>Nur für ein Kavo-HD-zertifiziertes Gerät</translation>
    </message>
    <message>
        <source>Kavo Plus HD Certified</source>
        <translation>Kavo-Plus-HD-zertifiziert</translation>
    </message>
    <message>
        <source>Only for a Kavo Plus HD Certified device</source>
        <translation>Nur für ein Kavo-Plus-HD-zertifiziertes Gerät</translation>
    </message>
    <message>
        <source>Help me choose</source>
        <translation>Hilfe bei der Auswahl</translation>
    </message>
    <message>
        <source>Explains the device types</source>
        <translation>Erklärt die Gerätetypen</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>Mehr erfahren</translation>
    </message>
    <message>
        <source>Explains the transfer methods</source>
        <translation>Erklärt die Übertragungsmethoden</translation>
    </message>
    <message>
        <source>Videos to transfer</source>
        <translation>Zu übertragende Videos</translation>
    </message>
    <message>
        <source>Delete removes the selected videos. Enter on a video whose time is underlined tells why it takes longer.</source>
        <translation>Entf entfernt die ausgewählten Videos. Die Eingabetaste auf einem Video mit unterstrichener Dauer erklärt, warum es länger dauert.</translation>
    </message>
    <message>
        <source>Destination drive</source>
        <translation>Ziellaufwerk</translation>
    </message>
    <message>
        <source>Space opens the list of drives, the arrow keys choose one</source>
        <translation>Die Leertaste öffnet die Liste der Laufwerke, mit den Pfeiltasten wählen Sie eines aus</translation>
    </message>
    <message>
        <source>Space used on the destination</source>
        <translation>Belegter Speicher am Ziel</translation>
    </message>
    <message>
        <source>Open the USB drive</source>
        <translation>USB-Laufwerk öffnen</translation>
    </message>
    <message>
        <source>Videos being transferred</source>
        <translation>Videos, die übertragen werden</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Übertragungsfortschritt</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>Brauchen Sie Hilfe?</translation>
    </message>
    <message>
        <source>Opens the help pages</source>
        <translation>Öffnet die Hilfeseiten</translation>
    </message>
</context>
<context>
    <name>WizardShell</name>
    <message>
        <source>the command line needs -xfer and -id N</source>
        <translation>die Befehlszeile benötigt -xfer und -id N</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transcode profile (0, 1, 3 or 4)</source>
        <translation>„%1“ ist kein Konvertierungsprofil (0, 1, 3 oder 4)</translation>
    </message>
    <message>
        <source>Usage: portavo -xfer -id DEVICE [-file URL]... [-activationvideo]
Puts videos on a disc or a USB drive that a home video device can play.
  -xfer             start the transfer wizard (required)
  -id DEVICE        the device to serve (required): 10000 DVD player, 10001 Blu-ray
                    player, 10002 TV, 10003 PlayStation 3, 10004 mobile phone, or
                    the number of a device stored before; 1000 writes the files
                    as they are, without converting them
  -file URL         a video to add, as a file URL (file:///home/alice/a%20b.mp4);
                    repeat it for more videos
  -activationvideo  the videos are activation videos: they go to the top of the list
While the wizard runs, the same command hands further videos to it.
</source>
        <extracomment>command-line help; the switches, numbers and the example address stay as they are</extracomment>
        <translation>Aufruf: portavo -xfer -id GERÄT [-file URL]... [-activationvideo]
Bringt Videos auf eine Disc oder ein USB-Laufwerk, die ein Heimvideogerät abspielen kann.
  -xfer             startet den Übertragungsassistenten (erforderlich)
  -id GERÄT         das Zielgerät (erforderlich): 10000 DVD-Player, 10001 Blu-ray-
                    Player, 10002 Fernseher, 10003 PlayStation 3, 10004 Mobiltelefon
                    oder die Nummer eines früher gespeicherten Geräts; 1000 schreibt
                    die Dateien unverändert, ohne sie zu konvertieren
  -file URL         ein hinzuzufügendes Video als Datei-URL
                    (file:///home/alice/a%20b.mp4); für weitere Videos wiederholen
  -activationvideo  die Videos sind Aktivierungsvideos: Sie kommen an den Anfang der Liste
Solange der Assistent läuft, übergibt derselbe Befehl ihm weitere Videos.
</translation>
    </message>
</context>
</TS>
