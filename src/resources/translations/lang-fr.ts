<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>::SetFileSize()</name>
    <message>
        <source>%1 KB</source>
        <extracomment>file size in kilobytes</extracomment>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Click the link in the error message for more information</source>
        <translation>Cliquez sur le lien du message d’erreur pour en savoir plus</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>column headers: the error code and reason, the file&apos;s path</extracomment>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>button: open the listed files anyway</extracomment>
        <translation>Ouvrir</translation>
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
        <translation>Analyse en cours…</translation>
    </message>
    <message>
        <source>Analyzing... %1/%2</source>
        <translation>Analyse en cours… %1/%2</translation>
    </message>
</context>
<context>
    <name>FileInfoModel</name>
    <message>
        <source>Waiting</source>
        <extracomment>file state in the progress list: not started yet</extracomment>
        <translation>En attente</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>En cours</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>Erreur de conversion</translation>
    </message>
    <message>
        <source>Ready</source>
        <extracomment>file state: converted, waiting to be written</extracomment>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Burning</source>
        <extracomment>file state: being written to a disc / being copied to a USB drive</extracomment>
        <translation>Gravure</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Transfert</translation>
    </message>
    <message>
        <source>Canceled</source>
        <extracomment>file state</extracomment>
        <translation>Annulé</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>file state: on the disc or USB drive</extracomment>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Failed</source>
        <extracomment>file state: could not be written</extracomment>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>column header: file name</extracomment>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>column header: file size</extracomment>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Progress</source>
        <extracomment>column header (83 pixels wide): state of each file / estimated time to transfer it</extracomment>
        <translation>État</translation>
    </message>
    <message>
        <source>Transfer Time</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>MB</source>
        <extracomment>unit of the free space shown in large type; megabytes</extracomment>
        <translation>Mo</translation>
    </message>
    <message>
        <source>GB</source>
        <extracomment>gigabytes</extracomment>
        <translation>Go</translation>
    </message>
    <message>
        <source>TB</source>
        <extracomment>terabytes</extracomment>
        <translation>To</translation>
    </message>
    <message>
        <source>Includes the conversion; press Enter to learn why it takes longer</source>
        <translation>Conversion comprise&#xa0;; appuyez sur Entrée pour savoir pourquoi c’est plus long</translation>
    </message>
    <message>
        <source>part of the file could not be read</source>
        <translation>une partie du fichier n’a pas pu être lue</translation>
    </message>
    <message>
        <source>its number of video tracks</source>
        <translation>son nombre de pistes vidéo</translation>
    </message>
    <message>
        <source>its file type</source>
        <translation>son type de fichier</translation>
    </message>
    <message>
        <source>its video format</source>
        <translation>son format vidéo</translation>
    </message>
    <message>
        <source>its picture size</source>
        <translation>sa taille d’image</translation>
    </message>
    <message>
        <source>its frame rate</source>
        <translation>sa fréquence d’images</translation>
    </message>
    <message>
        <source>its colour format</source>
        <translation>son format de couleur</translation>
    </message>
    <message>
        <source>its video bit rate</source>
        <translation>son débit vidéo</translation>
    </message>
    <message>
        <source>its H.264 profile or level</source>
        <translation>son profil ou niveau H.264</translation>
    </message>
    <message>
        <source>its audio format</source>
        <translation>son format audio</translation>
    </message>
    <message>
        <source>its number of audio channels</source>
        <translation>son nombre de canaux audio</translation>
    </message>
    <message>
        <source>its audio bit rate</source>
        <translation>son débit audio</translation>
    </message>
    <message>
        <source>Converted for your device.</source>
        <translation>Converti pour votre appareil.</translation>
    </message>
    <message>
        <source>Converted for your device: %1.</source>
        <translation>Converti pour votre appareil&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Converted for your device because of %1.</source>
        <translation>Converti pour votre appareil en raison de %1.</translation>
    </message>
    <message>
        <source>Not copied</source>
        <translation>Non copié</translation>
    </message>
    <message>
        <source>The file as it is: your device plays it without conversion.</source>
        <translation>Le fichier tel quel&#xa0;: votre appareil le lit sans conversion.</translation>
    </message>
    <message>
        <source>Size after conversion (the file itself: %1).</source>
        <translation>Taille après conversion (le fichier lui-même&#xa0;: %1).</translation>
    </message>
    <message>
        <source>What is written to the destination: for videos marked as converted, the size after conversion.</source>
        <translation>Ce qui est écrit sur la destination&#xa0;: pour les vidéos marquées comme converties, la taille après conversion.</translation>
    </message>
</context>
<context>
    <name>FileTypes</name>
    <message>
        <source>All Video</source>
        <extracomment>the Add dialog&apos;s filter of every readable type, shown as &quot;%1 files&quot;</extracomment>
        <translation>vidéo (tous types)</translation>
    </message>
</context>
<context>
    <name>FinishPageDrive</name>
    <message>
        <source>Eject</source>
        <translation>Éjecter</translation>
    </message>
    <message>
        <source>Safely remove the USB drive</source>
        <translation>Retirer la clé USB en toute sécurité</translation>
    </message>
    <message>
        <source>Ejecting the USB drive...</source>
        <translation>Éjection de la clé USB...</translation>
    </message>
    <message>
        <source>On the drive:</source>
        <translation>Sur la clé USB&#xa0;:</translation>
    </message>
    <message>
        <source>%1 (renamed from &quot;%2&quot;)</source>
        <translation>%1 (renommé, ancien nom «&#xa0;%2&#xa0;»)</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>The USB drive can be removed now.</source>
        <translation>Vous pouvez maintenant retirer la clé USB.</translation>
    </message>
    <message>
        <source>The USB drive is no longer in use and can be removed now.</source>
        <translation>La clé USB n’est plus utilisée&#xa0;; vous pouvez maintenant la retirer.</translation>
    </message>
    <message>
        <source>The USB drive is busy: another program is using it. Close it and try again.</source>
        <translation>La clé USB est occupée&#xa0;: un autre programme l’utilise. Fermez-le et réessayez.</translation>
    </message>
    <message>
        <source>The USB drive is busy: %1 is using it. Close it and try again.</source>
        <translation>La clé USB est occupée&#xa0;: %1 l’utilise. Fermez ce programme et réessayez.</translation>
    </message>
    <message>
        <source>You are not permitted to eject this USB drive.</source>
        <translation>Vous n’êtes pas autorisé à éjecter cette clé USB.</translation>
    </message>
    <message>
        <source>The USB drive could not be ejected: %1</source>
        <translation>Impossible d’éjecter la clé USB&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>HelpChooseDialog</name>
    <message>
        <source>Help choose your device type</source>
        <translation>Aide au choix du type d’appareil</translation>
    </message>
    <message>
        <source>The recommended option will be compatible with any Kavo Certified device.  If you are unsure which type of device you have, always choose the recommended option.</source>
        <translation>L’option recommandée est compatible avec tous les appareils certifiés Kavo. Si vous ne savez pas de quel type d’appareil vous disposez, choisissez toujours l’option recommandée.</translation>
    </message>
    <message>
        <source>Learn more about Kavo Certified devices</source>
        <translation>En savoir plus sur les appareils certifiés Kavo</translation>
    </message>
</context>
<context>
    <name>HelpLinkOpener</name>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>No program to show this help page was found. The page is at:

%1</source>
        <translation>Aucun programme n’a été trouvé pour afficher cette page d’aide. La page se trouve ici :

%1</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Portavo Help</source>
        <translation>Aide de Portavo</translation>
    </message>
</context>
<context>
    <name>ResultCodeReason</name>
    <message>
        <source>converter busy or not available</source>
        <translation>convertisseur occupé ou indisponible</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>annulé</translation>
    </message>
    <message>
        <source>converter failed</source>
        <translation>échec du convertisseur</translation>
    </message>
    <message>
        <source>not examined</source>
        <translation>non analysé</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>damaged or cut short</source>
        <translation>endommagé ou tronqué</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>fichier introuvable</translation>
    </message>
    <message>
        <source>already in the list</source>
        <translation>déjà dans la liste</translation>
    </message>
    <message>
        <source>not a usable video file</source>
        <translation>fichier vidéo inutilisable</translation>
    </message>
    <message>
        <source>took too long to examine</source>
        <translation>analyse trop longue</translation>
    </message>
    <message>
        <source>subtitles cannot be converted</source>
        <translation>sous-titres non convertibles</translation>
    </message>
    <message>
        <source>not a video file</source>
        <translation>pas un fichier vidéo</translation>
    </message>
    <message>
        <source>no video track</source>
        <translation>aucune piste vidéo</translation>
    </message>
    <message>
        <source>sound cannot be read</source>
        <translation>son illisible</translation>
    </message>
    <message>
        <source>variable frame rate</source>
        <translation>fréquence d’images variable</translation>
    </message>
    <message>
        <source>cannot be made to fit the device</source>
        <translation>impossible à adapter à l’appareil</translation>
    </message>
    <message>
        <source>video format cannot be decoded</source>
        <translation>format vidéo non décodable</translation>
    </message>
    <message>
        <source>sound format cannot be decoded</source>
        <translation>format audio non décodable</translation>
    </message>
    <message>
        <source>encoder missing</source>
        <translation>encodeur manquant</translation>
    </message>
    <message>
        <source>could not write the converted file</source>
        <translation>impossible d’écrire le fichier converti</translation>
    </message>
    <message>
        <source>unusual picture size</source>
        <translation>taille d’image inhabituelle</translation>
    </message>
    <message>
        <source>parts do not match</source>
        <translation>les parties ne correspondent pas</translation>
    </message>
    <message>
        <source>no permission to read it</source>
        <translation>lecture non autorisée</translation>
    </message>
    <message>
        <source>converter stopped on it</source>
        <translation>le convertisseur s’est arrêté sur ce fichier</translation>
    </message>
</context>
<context>
    <name>SenseText</name>
    <message>
        <source>there is no disc in the drive</source>
        <translation>aucun disque n’est inséré dans le lecteur</translation>
    </message>
    <message>
        <source>the drive is not ready: the disc is still being loaded</source>
        <translation>le lecteur n’est pas prêt&#xa0;: le disque est encore en cours de chargement</translation>
    </message>
    <message>
        <source>the disc is write-protected</source>
        <translation>le disque est protégé en écriture</translation>
    </message>
    <message>
        <source>the disc is not compatible with this drive (incompatible medium)</source>
        <translation>le disque n’est pas compatible avec ce lecteur (support incompatible)</translation>
    </message>
    <message>
        <source>the disc is not writable (it is closed or full)</source>
        <translation>le disque n’est pas inscriptible (il est finalisé ou plein)</translation>
    </message>
    <message>
        <source>the disc is not writable in the way the drive was asked</source>
        <translation>le disque ne peut pas être écrit de la manière demandée au lecteur</translation>
    </message>
    <message>
        <source>power calibration failed: the disc may be of poor quality or unsuited to this drive; try a disc of another brand</source>
        <translation>échec du calibrage laser&#xa0;: le disque est peut-être de mauvaise qualité ou inadapté à ce lecteur&#xa0;; essayez un disque d’une autre marque</translation>
    </message>
    <message>
        <source>buffer underrun: the data did not reach the drive fast enough</source>
        <translation>buffer underrun&#xa0;: les données ne sont pas arrivées assez vite au lecteur</translation>
    </message>
    <message>
        <source>the drive could not write to the disc</source>
        <translation>le lecteur n’a pas pu écrire sur le disque</translation>
    </message>
    <message>
        <source>the disc could not be read back</source>
        <translation>le disque n’a pas pu être relu</translation>
    </message>
    <message>
        <source>the disc was changed during the write</source>
        <translation>le disque a été changé pendant l’écriture</translation>
    </message>
    <message>
        <source>the drive was reset during the write</source>
        <translation>le lecteur a été réinitialisé pendant l’écriture</translation>
    </message>
    <message>
        <source>the drive reported a hardware fault</source>
        <translation>le lecteur a signalé une panne matérielle</translation>
    </message>
    <message>
        <source>the recorder was disconnected or switched off during the write</source>
        <translation>le graveur a été débranché ou éteint pendant l’écriture</translation>
    </message>
    <message>
        <source>the drive reported an error it did not explain (sense %1)</source>
        <translation>le lecteur a signalé une erreur sans l’expliquer (code sense %1)</translation>
    </message>
    <message>
        <source>%1 (drive sense %2)</source>
        <translation>%1 (code sense du lecteur %2)</translation>
    </message>
    <message>
        <source>what was read back from the disc differs from the video (verify failed)</source>
        <translation>les données relues sur le disque diffèrent de la vidéo (échec de la vérification)</translation>
    </message>
    <message>
        <source>the videos do not fit on the disc</source>
        <translation>les vidéos ne tiennent pas sur le disque</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>aucun disque inscriptible n’est prêt dans le lecteur</translation>
    </message>
    <message>
        <source>another program is using the recorder</source>
        <translation>un autre programme utilise le graveur</translation>
    </message>
    <message>
        <source>your account may not use the recorder</source>
        <translation>votre compte n’est pas autorisé à utiliser le graveur</translation>
    </message>
    <message>
        <source>the disc in the drive cannot be written</source>
        <translation>le disque inséré ne peut pas être écrit</translation>
    </message>
    <message>
        <source>the video could not be read from the hard disk</source>
        <translation>la vidéo n’a pas pu être lue sur le disque dur</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>le graveur est introuvable</translation>
    </message>
    <message>
        <source>the recorder failed (%1)</source>
        <translation>échec du graveur (%1)</translation>
    </message>
</context>
<context>
    <name>TransferDevicesLibrary::TransferDevices</name>
    <message>
        <source>Your device&apos;s saved choices cannot be used right now: another program is using the device memory file %1. Portavo carries on without them and tries again later.</source>
        <translation>Les choix enregistrés pour votre appareil ne peuvent pas être utilisés pour le moment&#xa0;: un autre programme utilise le fichier de mémoire des appareils %1. Portavo continue sans eux et réessaiera plus tard.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the folder for %1 cannot be created (%2).</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: le dossier de %1 ne peut pas être créé (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be created (%2).</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: %1 ne peut pas être créé (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: there is no folder for its device memory (HOME is not set).</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: aucun dossier n’est disponible pour sa mémoire des appareils (HOME n’est pas défini).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be opened (%2).</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: %1 ne peut pas être ouvert (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged or unreadable (%2). It is left as it is.</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: le fichier de mémoire des appareils %1 est endommagé ou illisible (%2). Il est laissé tel quel.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged. It is left as it is.</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: le fichier de mémoire des appareils %1 est endommagé. Il est laissé tel quel.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 is not its device memory but some other database. It is left as it is.</source>
        <translation>Portavo ne peut pas mémoriser vos appareils&#xa0;: %1 n’est pas sa mémoire des appareils, mais une autre base de données. Il est laissé tel quel.</translation>
    </message>
</context>
<context>
    <name>TransferWizardController</name>
    <message>
        <source>Device Memory</source>
        <extracomment>title of a box: the device library that remembers choices per device</extracomment>
        <translation>Mémoire des appareils</translation>
    </message>
    <message>
        <source>DVD Player</source>
        <extracomment>device kind; it completes &quot;This choice will work with any Kavo Certified %1&quot;</extracomment>
        <translation>lecteur DVD</translation>
    </message>
    <message>
        <source>Blu-ray Player</source>
        <translation>lecteur Blu-ray</translation>
    </message>
    <message>
        <source>TV</source>
        <extracomment>device kind: a television</extracomment>
        <translation>téléviseur</translation>
    </message>
    <message>
        <source>Playstation 3</source>
        <translation>PlayStation 3</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>téléphone mobile</translation>
    </message>
    <message>
        <source>You can only perform one transfer at a time with Portavo. Please finish or close the current transfer before proceeding.</source>
        <translation>Portavo ne peut effectuer qu’un seul transfert à la fois. Veuillez terminer ou fermer le transfert en cours avant de continuer.</translation>
    </message>
    <message>
        <source>Add Video Error</source>
        <translation>Erreur d’ajout de vidéo</translation>
    </message>
    <message>
        <source>the file could not be converted (error %1)</source>
        <translation>le fichier n’a pas pu être converti (erreur %1)</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>le graveur est introuvable</translation>
    </message>
    <message>
        <source>the disc is full</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>aucun disque inscriptible n’est prêt dans le lecteur</translation>
    </message>
    <message>
        <source>no recorder was chosen</source>
        <translation>aucun graveur n’a été choisi</translation>
    </message>
    <message>
        <source>the burn was stopped</source>
        <translation>la gravure a été arrêtée</translation>
    </message>
    <message>
        <source>the recorder is in use by another program</source>
        <translation>le graveur est utilisé par un autre programme</translation>
    </message>
    <message>
        <source>the disc could not be written</source>
        <translation>impossible d’écrire sur le disque</translation>
    </message>
    <message>
        <source>Transfer failed. %1 could not be written: %2.</source>
        <translation>Échec du transfert. Impossible d’écrire %1&#xa0;: %2.</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>le fichier est introuvable</translation>
    </message>
    <message>
        <source>the recorder %1 is not available</source>
        <translation>le graveur %1 n’est pas disponible</translation>
    </message>
</context>
<context>
    <name>TransferWizardDlg</name>
    <message>
        <source>Welcome to Portavo™</source>
        <translation>Bienvenue dans Portavo™</translation>
    </message>
    <message>
        <source>Portavo™ makes it easy to watch your favorite videos on your DVD Player, Blu-ray Player, PlayStation® 3 or Digital Television by transferring them using a USB drive or by burning a disc.</source>
        <translation>Avec Portavo™, regardez facilement vos vidéos préférées sur votre lecteur DVD, votre lecteur Blu-ray, votre PlayStation® 3 ou votre téléviseur numérique&#xa0;: transférez-les sur une clé USB ou gravez-les sur un disque.</translation>
    </message>
    <message>
        <source>Click &apos;Next&apos; to get started.</source>
        <translation>Cliquez sur «&#xa0;Suivant&#xa0;» pour commencer.</translation>
    </message>
    <message>
        <source>Choose your device type</source>
        <translation>Choisissez le type de votre appareil</translation>
    </message>
    <message>
        <source>Which type of Kavo Certified device do you have?</source>
        <translation>Quel type d’appareil certifié Kavo possédez-vous&#xa0;?</translation>
    </message>
    <message>
        <source>Recommended</source>
        <extracomment>beside the recommended profile</extracomment>
        <translation>Recommandé</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Help me choose&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Aidez-moi à choisir&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Choose a transfer method</source>
        <translation>Choisissez une méthode de transfert</translation>
    </message>
    <message>
        <source>How would you like to transfer your videos?</source>
        <translation>Comment souhaitez-vous transférer vos vidéos&#xa0;?</translation>
    </message>
    <message>
        <source>Burn a CD/DVD</source>
        <translation>Graver un CD/DVD</translation>
    </message>
    <message>
        <source>USB Drive</source>
        <extracomment>transfer method: copy to a USB drive</extracomment>
        <translation>Clé USB</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Learn more&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;En savoir plus&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Add or remove videos</source>
        <translation>Ajoutez ou retirez des vidéos</translation>
    </message>
    <message>
        <source>Space remaining:</source>
        <extracomment>free space left on the drive after the listed videos</extracomment>
        <translation>Espace restant&#xa0;:</translation>
    </message>
    <message>
        <source>No Drive</source>
        <extracomment>shown in large type where the free space of the drive would be</extracomment>
        <translation>Aucun lecteur</translation>
    </message>
    <message>
        <source>Your USB drive/disc is full.  Please remove one or more videos to continue.</source>
        <translation>Votre clé USB ou votre disque est plein. Veuillez retirer une ou plusieurs vidéos pour continuer.</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>button: add videos to the list</extracomment>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Add videos</source>
        <translation>Ajouter des vidéos</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>button: remove the selected videos from the list</extracomment>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Remove the selected videos</source>
        <translation>Retirer les vidéos sélectionnées</translation>
    </message>
    <message>
        <source>Total transfer time: </source>
        <translation>Durée totale&#xa0;: </translation>
    </message>
    <message>
        <source>Transferring videos</source>
        <translation>Transfert des vidéos</translation>
    </message>
    <message>
        <source>Converting video</source>
        <translation>Conversion de la vidéo</translation>
    </message>
    <message>
        <source>Counting...</source>
        <extracomment>remaining time not yet known</extracomment>
        <translation>Calcul en cours…</translation>
    </message>
    <message>
        <source>Transfer Complete</source>
        <translation>Transfert terminé</translation>
    </message>
    <message>
        <source>Portavo™ has successfully transferred your videos to your disc/USB drive.  Your settings will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo™ a bien transféré vos vidéos sur votre disque ou votre clé USB. Vos paramètres seront enregistrés pour accélérer le prochain transfert de vidéos vers cet appareil.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc/USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Pour regarder votre vidéo, insérez le disque ou la clé USB dans votre appareil certifié Kavo. Bon visionnage&#xa0;!</translation>
    </message>
    <message>
        <source>You need to play the registration video first before you can play Kavo VOD movie properly.</source>
        <translation>Vous devez d’abord lire la vidéo d’enregistrement pour que les films Kavo VOD soient lus correctement.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Need Help?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Besoin d’aide&#xa0;?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>APPAREIL</translation>
    </message>
    <message>
        <source>METHOD</source>
        <extracomment>wizard step: the transfer method, in capitals</extracomment>
        <translation>MÉTHODE</translation>
    </message>
    <message>
        <source>VIDEOS</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>VIDÉOS</translation>
    </message>
    <message>
        <source>TRANSFER</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>TRANSFERT</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>wizard button: previous page</extracomment>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Start</source>
        <extracomment>wizard button: start the transfer</extracomment>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>wizard button: next page</extracomment>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>wizard button: cancel the running transfer</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Transfer failed</source>
        <translation>Échec du transfert</translation>
    </message>
    <message>
        <source>No CD/DVD burner drive found.</source>
        <translation>Aucun graveur de CD/DVD trouvé.</translation>
    </message>
    <message>
        <source>Insert USB drive</source>
        <translation>Insérez une clé USB</translation>
    </message>
    <message>
        <source>No USB drive found. Please insert USB drive.</source>
        <translation>Aucune clé USB trouvée. Veuillez insérer une clé USB.</translation>
    </message>
    <message>
        <source>There is no disc detected.  Please insert a disc or select another drive to continue.</source>
        <translation>Aucun disque n’a été détecté. Veuillez insérer un disque ou sélectionner un autre lecteur pour continuer.</translation>
    </message>
    <message>
        <source>There is no USB drive detected.  Please insert a USB drive or select another drive to continue.</source>
        <translation>Aucune clé USB n’a été détectée. Veuillez insérer une clé USB ou sélectionner un autre lecteur pour continuer.</translation>
    </message>
    <message>
        <source>Unable to write to the disc that is inserted. Please insert another disc to continue.</source>
        <translation>Impossible d’écrire sur le disque inséré. Veuillez insérer un autre disque pour continuer.</translation>
    </message>
    <message>
        <source>Unable to write to the USB drive that is inserted. Please insert another USB drive to continue.</source>
        <translation>Impossible d’écrire sur la clé USB insérée. Veuillez insérer une autre clé USB pour continuer.</translation>
    </message>
    <message>
        <source>Your Disc is full.  Please insert another disc to continue.</source>
        <translation>Votre disque est plein. Veuillez insérer un autre disque pour continuer.</translation>
    </message>
    <message>
        <source>Your USB Drive is full.  Please remove one or more videos to continue.</source>
        <translation>Votre clé USB est pleine. Veuillez retirer une ou plusieurs vidéos pour continuer.</translation>
    </message>
    <message>
        <source>Your USB drive does not have enough free space available for this transfer.  Please remove one or more videos or make room on your USB drive to continue.</source>
        <translation>Votre clé USB n’a pas assez d’espace libre pour ce transfert. Veuillez retirer une ou plusieurs vidéos ou libérer de l’espace sur votre clé USB pour continuer.</translation>
    </message>
    <message>
        <source>USB drive must be formatted %1.  Please insert another USB drive to continue.</source>
        <translation>La clé USB doit être formatée en %1. Veuillez insérer une autre clé USB pour continuer.</translation>
    </message>
    <message>
        <source>The video %1 is 4 GB or larger and cannot be stored on a USB drive formatted %2.  Please remove the video or insert a USB drive formatted NTFS or exFAT to continue.</source>
        <translation>La vidéo %1 fait 4 Go ou plus et ne peut pas être enregistrée sur une clé USB formatée en %2. Veuillez retirer la vidéo ou insérer une clé USB formatée en NTFS ou exFAT pour continuer.</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>wizard button on the last page: closes the wizard</extracomment>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>This choice will work with any Kavo Certified %1</source>
        <translation>Ce choix convient à tout appareil certifié Kavo (%1)</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo HD Certified %1</source>
        <translation>Ne choisissez cette option que si vous possédez un appareil certifié Kavo HD (%1)</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo Plus HD Certified %1</source>
        <translation>Ne choisissez cette option que si vous possédez un appareil certifié Kavo Plus HD (%1)</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your CD/DVD. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo a bien transféré vos vidéos sur votre CD/DVD. Vos choix seront enregistrés pour accélérer le prochain transfert de vidéos vers cet appareil.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc into your Kavo Certified device and enjoy!</source>
        <translation>Pour regarder votre vidéo, insérez le disque dans votre appareil certifié Kavo. Bon visionnage&#xa0;!</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your USB Drive. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo a bien transféré vos vidéos sur votre clé USB. Vos choix seront enregistrés pour accélérer le prochain transfert de vidéos vers cet appareil.</translation>
    </message>
    <message>
        <source>To watch your video, insert the USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Pour regarder votre vidéo, branchez la clé USB sur votre appareil certifié Kavo. Bon visionnage&#xa0;!</translation>
    </message>
    <message>
        <source>Estimated remaining time:</source>
        <translation>Temps restant estimé&#xa0;:</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>a file type of the Add dialog&apos;s filter; %1 is its name (&quot;MPEG-4&quot;, &quot;All Video&quot;)</extracomment>
        <translation>Fichiers %1</translation>
    </message>
    <message>
        <source>Open Video</source>
        <extracomment>title of the file dialog that adds videos</extracomment>
        <translation>Ouvrir une vidéo</translation>
    </message>
    <message>
        <source>Invalid Files</source>
        <translation>Fichiers non valides</translation>
    </message>
    <message>
        <source>Kavo Transfer Wizard is unable to recognize the following files:</source>
        <translation>Kavo Transfer Wizard ne reconnaît pas les fichiers suivants&#xa0;:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>If you choose to close window, your progress will be lost.</source>
        <translation>Si vous fermez la fenêtre, votre progression sera perdue.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer and close window?</source>
        <translation>Voulez-vous vraiment annuler ce transfert et fermer la fenêtre&#xa0;?</translation>
    </message>
    <message>
        <source>If you choose to cancel the transfer process, your progress will be lost.</source>
        <translation>Si vous annulez le transfert, votre progression sera perdue.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer?</source>
        <translation>Voulez-vous vraiment annuler ce transfert&#xa0;?</translation>
    </message>
    <message>
        <source>Error %1: There was an error with the file %2 and the file cannot be converted. The transfer cannot be completed.</source>
        <translation>Erreur %1&#xa0;: une erreur est survenue avec le fichier %2, qui ne peut pas être converti. Le transfert ne peut pas aboutir.</translation>
    </message>
    <message>
        <source>Error: %1. There was an error with the file %2 and the file cannot be converted. 

Would you like to continue with transferring the remaing files? </source>
        <translation>Erreur&#xa0;: %1. Une erreur est survenue avec le fichier %2, qui ne peut pas être converti.

Voulez-vous continuer le transfert des fichiers restants&#xa0;?</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>Informations sur le fichier</translation>
    </message>
    <message>
        <source>Why do some file types take longer to transfer than others?</source>
        <translation>Pourquoi certains types de fichiers sont-ils plus longs à transférer que d’autres&#xa0;?</translation>
    </message>
    <message>
        <source>Portavo may need to convert your files to ensure that they are compatible with your Kavo Certified device. 

Larger files might also take longer to transfer than smaller files.</source>
        <translation>Portavo doit parfois convertir vos fichiers pour qu’ils soient compatibles avec votre appareil certifié Kavo.

Les fichiers volumineux peuvent aussi prendre plus de temps à transférer que les petits.</translation>
    </message>
    <message>
        <source>Input files already in queue</source>
        <translation>Fichiers déjà dans la file d’attente</translation>
    </message>
    <message>
        <source>Portavo did not add the following input files because they are already in the queue:

%1</source>
        <translation>Portavo n’a pas ajouté les fichiers suivants, car ils sont déjà dans la file d’attente&#xa0;:

%1</translation>
    </message>
    <message>
        <source>Converting video %1 of %2</source>
        <translation>Conversion de la vidéo %1 sur %2</translation>
    </message>
    <message>
        <source>Burning disc</source>
        <translation>Gravure du disque</translation>
    </message>
    <message>
        <source>Transferring to USB drive</source>
        <translation>Transfert vers la clé USB</translation>
    </message>
    <message>
        <source>Transfer completed.</source>
        <translation>Transfert terminé.</translation>
    </message>
    <message>
        <source>Transfer failed. The destination drive is no longer available.</source>
        <translation>Échec du transfert. Le lecteur de destination n’est plus disponible.</translation>
    </message>
    <message>
        <source>Transferring videos %1 of %2</source>
        <translation>Transfert de la vidéo %1 sur %2</translation>
    </message>
    <message>
        <source>Transfer canceled.</source>
        <translation>Transfert annulé.</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>wizard button at the end of a transfer: close the wizard / go to the finish page</extracomment>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Transfer canceled</source>
        <translation>Transfert annulé</translation>
    </message>
    <message>
        <source>If you choose to close window, the videos in your list will be removed.</source>
        <translation>Si vous fermez la fenêtre, les vidéos de votre liste seront retirées.</translation>
    </message>
    <message>
        <source>Are you sure you want to close window?</source>
        <translation>Voulez-vous vraiment fermer la fenêtre&#xa0;?</translation>
    </message>
    <message>
        <source>Verifying disc</source>
        <translation>Vérification du disque</translation>
    </message>
    <message>
        <source>Unable to write the disc image: %1.</source>
        <translation>Impossible d’écrire l’image disque&#xa0;: %1.</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a DVD.</source>
        <translation>Ces vidéos nécessitent %1&#xa0;; ce disque peut en contenir %2. Retirez environ %3 de vidéos ou choisissez un DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a disc that holds more.</source>
        <translation>Ces vidéos nécessitent %1&#xa0;; ce disque peut en contenir %2. Retirez environ %3 de vidéos ou choisissez un disque de plus grande capacité.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc or a DVD.</source>
        <translation>Ces vidéos nécessitent %1&#xa0;; ce disque a de la place pour %2. Retirez environ %3 de vidéos ou choisissez un disque vierge ou un DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc.</source>
        <translation>Ces vidéos nécessitent %1&#xa0;; ce disque a de la place pour %2. Retirez environ %3 de vidéos ou choisissez un disque vierge.</translation>
    </message>
    <message>
        <source>These videos need %1; this drive has %2 free.</source>
        <translation>Ces vidéos nécessitent %1&#xa0;; ce lecteur dispose de %2 d’espace libre.</translation>
    </message>
    <message>
        <source>The image file %1 already holds a disc. Remove or rename it to write a new one.</source>
        <translation>Le fichier image %1 contient déjà un disque. Supprimez-le ou renommez-le pour en écrire un nouveau.</translation>
    </message>
    <message>
        <source>The destination drive is no longer available.</source>
        <translation>Le lecteur de destination n’est plus disponible.</translation>
    </message>
    <message>
        <source>The disc drive %1 is no longer available.</source>
        <translation>Le lecteur de disque %1 n’est plus disponible.</translation>
    </message>
    <message>
        <source>The USB drive %1 is no longer available.</source>
        <translation>La clé USB %1 n’est plus disponible.</translation>
    </message>
    <message>
        <source>Back to the list</source>
        <translation>Retour à la liste</translation>
    </message>
    <message>
        <source>Whole transfer: %1 %</source>
        <translation>Total&#xa0;: %1&#xa0;%</translation>
    </message>
</context>
<context>
    <name>UDisks2Ejector</name>
    <message>
        <source>the drive is not known to UDisks2</source>
        <translation>le lecteur est inconnu de UDisks2</translation>
    </message>
</context>
<context>
    <name>USBFileCopier</name>
    <message>
        <source>could not open the video</source>
        <translation>impossible d’ouvrir la vidéo</translation>
    </message>
    <message>
        <source>could not read the video</source>
        <translation>impossible de lire la vidéo</translation>
    </message>
    <message>
        <source>the video is not a regular file</source>
        <translation>la vidéo n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>no free file name on the drive</source>
        <translation>aucun nom de fichier libre sur le lecteur</translation>
    </message>
    <message>
        <source>could not create the file on the drive</source>
        <translation>impossible de créer le fichier sur le lecteur</translation>
    </message>
    <message>
        <source>could not copy to the drive</source>
        <translation>impossible de copier sur le lecteur</translation>
    </message>
    <message>
        <source>could not write to the drive</source>
        <translation>impossible d’écrire sur le lecteur</translation>
    </message>
    <message>
        <source>the video became shorter while it was copied</source>
        <translation>la vidéo a raccourci pendant la copie</translation>
    </message>
    <message>
        <source>could not finish writing to the drive</source>
        <translation>impossible de terminer l’écriture sur le lecteur</translation>
    </message>
    <message>
        <source>could not name the file on the drive</source>
        <translation>impossible de nommer le fichier sur le lecteur</translation>
    </message>
    <message>
        <source>could not finish writing the folder on the drive</source>
        <translation>impossible de terminer l’écriture du dossier sur le lecteur</translation>
    </message>
    <message>
        <source>the drive&apos;s FAT file system cannot store files of 4 GB or more</source>
        <translation>le système de fichiers FAT du lecteur ne peut pas stocker de fichiers de 4 Go ou plus</translation>
    </message>
</context>
<context>
    <name>UnattendedTransfer</name>
    <message>
        <source>portavo: nothing was transferred: %1</source>
        <translation>portavo&#xa0;: rien n’a été transféré&#xa0;: %1</translation>
    </message>
    <message>
        <source>this device needs a transcode profile: give -profile 0, 1, 3 or 4</source>
        <translation>cet appareil a besoin d’un profil de conversion&#xa0;: indiquez -profile 0, 1, 3 ou 4</translation>
    </message>
    <message>
        <source>%1 is not a USB drive, an &quot;ExtraDrives&quot; folder or an image burner</source>
        <translation>%1 n’est ni une clé USB, ni un dossier «&#xa0;ExtraDrives&#xa0;», ni un graveur d’image</translation>
    </message>
    <message>
        <source>none of the files exists</source>
        <translation>aucun des fichiers n’existe</translation>
    </message>
    <message>
        <source>none of the files can be transferred</source>
        <translation>aucun des fichiers ne peut être transféré</translation>
    </message>
    <message>
        <source>portavo: %1 could not be converted (error %2)</source>
        <translation>portavo&#xa0;: %1 n’a pas pu être converti (erreur %2)</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>le fichier est introuvable</translation>
    </message>
    <message>
        <source>the file is not a video that can be transferred</source>
        <translation>le fichier n’est pas une vidéo transférable</translation>
    </message>
    <message>
        <source>the transfer stopped before this file was written</source>
        <translation>le transfert s’est arrêté avant l’écriture de ce fichier</translation>
    </message>
    <message>
        <source>the transfer could not be started</source>
        <translation>le transfert n’a pas pu démarrer</translation>
    </message>
    <message>
        <source>portavo: closed the message &quot;%1&quot;</source>
        <translation>portavo&#xa0;: message «&#xa0;%1&#xa0;» fermé</translation>
    </message>
    <message>
        <source>portavo: the destination %1 went away during the transfer</source>
        <translation>portavo&#xa0;: la destination %1 a disparu pendant le transfert</translation>
    </message>
</context>
<context>
    <name>UnsupportedVideoDialog</name>
    <message>
        <source>Unsupported Video</source>
        <translation>Vidéo non prise en charge</translation>
    </message>
    <message>
        <source>We are sorry, but Portavo does not support this file type</source>
        <translation>Désolé, Portavo ne prend pas en charge ce type de fichier</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>En savoir plus</translation>
    </message>
</context>
<context>
    <name>WindowTitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Minimizes the Portavo window</source>
        <translation>Réduit la fenêtre de Portavo</translation>
    </message>
    <message>
        <source>Closes Portavo</source>
        <translation>Ferme Portavo</translation>
    </message>
</context>
<context>
    <name>WizardAccessibleNames</name>
    <message>
        <source>Drag to move the window</source>
        <translation>Faites glisser pour déplacer la fenêtre</translation>
    </message>
    <message>
        <source>Kavo Certified</source>
        <translation>Certifié Kavo</translation>
    </message>
    <message>
        <source>Works with any Kavo Certified device</source>
        <translation>Fonctionne avec tout appareil certifié Kavo</translation>
    </message>
    <message>
        <source>Kavo HD Certified</source>
        <translation>Certifié Kavo HD</translation>
    </message>
    <message>
        <source>Only for a Kavo HD Certified device</source>
        <translation>Uniquement pour un appareil certifié Kavo HD</translation>
    </message>
    <message>
        <source>Kavo Plus HD Certified</source>
        <translation>Certifié Kavo Plus HD</translation>
    </message>
    <message>
        <source>Only for a Kavo Plus HD Certified device</source>
        <translation>Uniquement pour un appareil certifié Kavo Plus HD</translation>
    </message>
    <message>
        <source>Help me choose</source>
        <translation>Aidez-moi à choisir</translation>
    </message>
    <message>
        <source>Explains the device types</source>
        <translation>Explique les types d’appareils</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>En savoir plus</translation>
    </message>
    <message>
        <source>Explains the transfer methods</source>
        <translation>Explique les méthodes de transfert</translation>
    </message>
    <message>
        <source>Videos to transfer</source>
        <translation>Vidéos à transférer</translation>
    </message>
    <message>
        <source>Delete removes the selected videos. Enter on a video whose time is underlined tells why it takes longer.</source>
        <translation>Suppr retire les vidéos sélectionnées. Entrée sur une vidéo dont la durée est soulignée explique pourquoi elle prend plus de temps.</translation>
    </message>
    <message>
        <source>Destination drive</source>
        <translation>Lecteur de destination</translation>
    </message>
    <message>
        <source>Space opens the list of drives, the arrow keys choose one</source>
        <translation>Espace ouvre la liste des lecteurs, les flèches permettent d’en choisir un</translation>
    </message>
    <message>
        <source>Space used on the destination</source>
        <translation>Espace utilisé sur la destination</translation>
    </message>
    <message>
        <source>Open the USB drive</source>
        <translation>Ouvrir la clé USB</translation>
    </message>
    <message>
        <source>Videos being transferred</source>
        <translation>Vidéos en cours de transfert</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Progression du transfert</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>Besoin d’aide&#xa0;?</translation>
    </message>
    <message>
        <source>Opens the help pages</source>
        <translation>Ouvre les pages d’aide</translation>
    </message>
</context>
<context>
    <name>WizardShell</name>
    <message>
        <source>the command line needs -xfer and -id N</source>
        <translation>la ligne de commande doit contenir -xfer et -id N</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transcode profile (0, 1, 3 or 4)</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas un profil de conversion (0, 1, 3 ou 4)</translation>
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
        <translation>Utilisation&#xa0;: portavo -xfer -id APPAREIL [-file URL]... [-activationvideo]
Place des vidéos sur un disque ou une clé USB lisibles par un appareil vidéo de salon.
  -xfer             démarre l’assistant de transfert (obligatoire)
  -id APPAREIL      l’appareil visé (obligatoire)&#xa0;: 10000 lecteur DVD, 10001 lecteur
                    Blu-ray, 10002 téléviseur, 10003 PlayStation 3, 10004 téléphone
                    mobile, ou le numéro d’un appareil déjà enregistré&#xa0;; 1000 écrit
                    les fichiers tels quels, sans les convertir
  -file URL         une vidéo à ajouter, sous forme d’URL de fichier
                    (file:///home/alice/a%20b.mp4)&#xa0;; à répéter pour d’autres vidéos
  -activationvideo  les vidéos sont des vidéos d’activation&#xa0;: elles vont en tête de liste
Pendant que l’assistant est ouvert, la même commande lui transmet d’autres vidéos.
</translation>
    </message>
</context>
</TS>
