<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
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
        <translation>Haga clic en el enlace del mensaje de error para obtener más información</translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>column headers: the error code and reason, the file&apos;s path</extracomment>
        <translation>Error</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>button: open the listed files anyway</extracomment>
        <translation>Abrir</translation>
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
        <translation>Analizando…</translation>
    </message>
    <message>
        <source>Analyzing... %1/%2</source>
        <translation>Analizando… %1/%2</translation>
    </message>
</context>
<context>
    <name>FileInfoModel</name>
    <message>
        <source>Waiting</source>
        <extracomment>file state in the progress list: not started yet</extracomment>
        <translation>En espera</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>En curso</translation>
    </message>
    <message>
        <source>Conversion error</source>
        <translation>Error de conversión</translation>
    </message>
    <message>
        <source>Ready</source>
        <extracomment>file state: converted, waiting to be written</extracomment>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Burning</source>
        <extracomment>file state: being written to a disc / being copied to a USB drive</extracomment>
        <translation>Grabando</translation>
    </message>
    <message>
        <source>Transferring</source>
        <translation>Transfiriendo</translation>
    </message>
    <message>
        <source>Canceled</source>
        <extracomment>file state</extracomment>
        <translation>Cancelado</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>file state: on the disc or USB drive</extracomment>
        <translation>Terminado</translation>
    </message>
    <message>
        <source>Failed</source>
        <extracomment>file state: could not be written</extracomment>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconocido</translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>column header: file name</extracomment>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>column header: file size</extracomment>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Progress</source>
        <extracomment>column header (83 pixels wide): state of each file / estimated time to transfer it</extracomment>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Transfer Time</source>
        <translation>Duración</translation>
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
        <translation>Incluye la conversión; pulse Intro para saber por qué tarda más</translation>
    </message>
    <message>
        <source>part of the file could not be read</source>
        <translation>no se pudo leer una parte del archivo</translation>
    </message>
    <message>
        <source>its number of video tracks</source>
        <translation>su número de pistas de vídeo</translation>
    </message>
    <message>
        <source>its file type</source>
        <translation>su tipo de archivo</translation>
    </message>
    <message>
        <source>its video format</source>
        <translation>su formato de vídeo</translation>
    </message>
    <message>
        <source>its picture size</source>
        <translation>su tamaño de imagen</translation>
    </message>
    <message>
        <source>its frame rate</source>
        <translation>su velocidad de fotogramas</translation>
    </message>
    <message>
        <source>its colour format</source>
        <translation>su formato de color</translation>
    </message>
    <message>
        <source>its video bit rate</source>
        <translation>su velocidad de bits de vídeo</translation>
    </message>
    <message>
        <source>its H.264 profile or level</source>
        <translation>su perfil o nivel H.264</translation>
    </message>
    <message>
        <source>its audio format</source>
        <translation>su formato de audio</translation>
    </message>
    <message>
        <source>its number of audio channels</source>
        <translation>su número de canales de audio</translation>
    </message>
    <message>
        <source>its audio bit rate</source>
        <translation>su velocidad de bits de audio</translation>
    </message>
    <message>
        <source>Converted for your device.</source>
        <translation>Convertido para su dispositivo.</translation>
    </message>
    <message>
        <source>Converted for your device: %1.</source>
        <translation>Convertido para su dispositivo: %1.</translation>
    </message>
    <message>
        <source>Converted for your device because of %1.</source>
        <translation>Convertido para su dispositivo debido a %1.</translation>
    </message>
    <message>
        <source>Not copied</source>
        <translation>No copiado</translation>
    </message>
    <message>
        <source>The file as it is: your device plays it without conversion.</source>
        <translation>El archivo tal cual: su dispositivo lo reproduce sin conversión.</translation>
    </message>
    <message>
        <source>Size after conversion (the file itself: %1).</source>
        <translation>Tamaño tras la conversión (el archivo en sí: %1).</translation>
    </message>
    <message>
        <source>What is written to the destination: for videos marked as converted, the size after conversion.</source>
        <translation>Lo que se escribe en el destino: para los vídeos marcados como convertidos, el tamaño tras la conversión.</translation>
    </message>
</context>
<context>
    <name>FileTypes</name>
    <message>
        <source>All Video</source>
        <extracomment>the Add dialog&apos;s filter of every readable type, shown as &quot;%1 files&quot;</extracomment>
        <translation>vídeo (todos los tipos)</translation>
    </message>
</context>
<context>
    <name>FinishPageDrive</name>
    <message>
        <source>Eject</source>
        <translation>Expulsar</translation>
    </message>
    <message>
        <source>Safely remove the USB drive</source>
        <translation>Quitar la unidad USB de forma segura</translation>
    </message>
    <message>
        <source>Ejecting the USB drive...</source>
        <translation>Expulsando la unidad USB...</translation>
    </message>
    <message>
        <source>On the drive:</source>
        <translation>En la unidad:</translation>
    </message>
    <message>
        <source>%1 (renamed from &quot;%2&quot;)</source>
        <translation>%1 (renombrado; antes «%2»)</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>y %n más</numerusform>
            <numerusform>y %n más</numerusform>
        </translation>
    </message>
    <message>
        <source>The USB drive can be removed now.</source>
        <translation>Ya puede quitar la unidad USB.</translation>
    </message>
    <message>
        <source>The USB drive is no longer in use and can be removed now.</source>
        <translation>La unidad USB ya no está en uso y ya puede quitarla.</translation>
    </message>
    <message>
        <source>The USB drive is busy: another program is using it. Close it and try again.</source>
        <translation>La unidad USB está ocupada: otro programa la está usando. Ciérrelo e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>The USB drive is busy: %1 is using it. Close it and try again.</source>
        <translation>La unidad USB está ocupada: %1 la está usando. Cierre ese programa e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>You are not permitted to eject this USB drive.</source>
        <translation>No tiene permiso para expulsar esta unidad USB.</translation>
    </message>
    <message>
        <source>The USB drive could not be ejected: %1</source>
        <translation>No se pudo expulsar la unidad USB: %1</translation>
    </message>
</context>
<context>
    <name>HelpChooseDialog</name>
    <message>
        <source>Help choose your device type</source>
        <translation>Ayuda para elegir el tipo de dispositivo</translation>
    </message>
    <message>
        <source>The recommended option will be compatible with any Kavo Certified device.  If you are unsure which type of device you have, always choose the recommended option.</source>
        <translation>La opción recomendada es compatible con cualquier dispositivo con certificación Kavo. Si no está seguro de qué tipo de dispositivo tiene, elija siempre la opción recomendada.</translation>
    </message>
    <message>
        <source>Learn more about Kavo Certified devices</source>
        <translation>Más información sobre dispositivos certificados Kavo</translation>
    </message>
</context>
<context>
    <name>HelpLinkOpener</name>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>No program to show this help page was found. The page is at:

%1</source>
        <translation>No se encontró ningún programa para mostrar esta página de ayuda. La página está en:

%1</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Portavo Help</source>
        <translation>Ayuda de Portavo</translation>
    </message>
</context>
<context>
    <name>ResultCodeReason</name>
    <message>
        <source>converter busy or not available</source>
        <translation>conversor ocupado o no disponible</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>cancelado</translation>
    </message>
    <message>
        <source>converter failed</source>
        <translation>error del conversor</translation>
    </message>
    <message>
        <source>not examined</source>
        <translation>no analizado</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>damaged or cut short</source>
        <translation>dañado o incompleto</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>archivo no encontrado</translation>
    </message>
    <message>
        <source>already in the list</source>
        <translation>ya está en la lista</translation>
    </message>
    <message>
        <source>not a usable video file</source>
        <translation>no es un archivo de vídeo utilizable</translation>
    </message>
    <message>
        <source>took too long to examine</source>
        <translation>el análisis tardó demasiado</translation>
    </message>
    <message>
        <source>subtitles cannot be converted</source>
        <translation>no se pueden convertir los subtítulos</translation>
    </message>
    <message>
        <source>not a video file</source>
        <translation>no es un archivo de vídeo</translation>
    </message>
    <message>
        <source>no video track</source>
        <translation>sin pista de vídeo</translation>
    </message>
    <message>
        <source>sound cannot be read</source>
        <translation>no se puede leer el sonido</translation>
    </message>
    <message>
        <source>variable frame rate</source>
        <translation>velocidad de fotogramas variable</translation>
    </message>
    <message>
        <source>cannot be made to fit the device</source>
        <translation>no se puede adaptar al dispositivo</translation>
    </message>
    <message>
        <source>video format cannot be decoded</source>
        <translation>no se puede descodificar el formato de vídeo</translation>
    </message>
    <message>
        <source>sound format cannot be decoded</source>
        <translation>no se puede descodificar el formato de audio</translation>
    </message>
    <message>
        <source>encoder missing</source>
        <translation>falta el codificador</translation>
    </message>
    <message>
        <source>could not write the converted file</source>
        <translation>no se pudo escribir el archivo convertido</translation>
    </message>
    <message>
        <source>unusual picture size</source>
        <translation>tamaño de imagen inusual</translation>
    </message>
    <message>
        <source>parts do not match</source>
        <translation>las partes no coinciden</translation>
    </message>
    <message>
        <source>no permission to read it</source>
        <translation>sin permiso de lectura</translation>
    </message>
    <message>
        <source>converter stopped on it</source>
        <translation>el conversor se detuvo en este archivo</translation>
    </message>
</context>
<context>
    <name>SenseText</name>
    <message>
        <source>there is no disc in the drive</source>
        <translation>no hay ningún disco en la unidad</translation>
    </message>
    <message>
        <source>the drive is not ready: the disc is still being loaded</source>
        <translation>la unidad no está lista: todavía se está cargando el disco</translation>
    </message>
    <message>
        <source>the disc is write-protected</source>
        <translation>el disco está protegido contra escritura</translation>
    </message>
    <message>
        <source>the disc is not compatible with this drive (incompatible medium)</source>
        <translation>el disco no es compatible con esta unidad (soporte incompatible)</translation>
    </message>
    <message>
        <source>the disc is not writable (it is closed or full)</source>
        <translation>el disco no admite escritura (está cerrado o lleno)</translation>
    </message>
    <message>
        <source>the disc is not writable in the way the drive was asked</source>
        <translation>el disco no se puede grabar del modo solicitado a la unidad</translation>
    </message>
    <message>
        <source>power calibration failed: the disc may be of poor quality or unsuited to this drive; try a disc of another brand</source>
        <translation>error en la calibración de potencia: puede que el disco sea de mala calidad o no sea adecuado para esta unidad; pruebe con un disco de otra marca</translation>
    </message>
    <message>
        <source>buffer underrun: the data did not reach the drive fast enough</source>
        <translation>vaciado del búfer: los datos no llegaron a la unidad lo bastante rápido</translation>
    </message>
    <message>
        <source>the drive could not write to the disc</source>
        <translation>la unidad no pudo escribir en el disco</translation>
    </message>
    <message>
        <source>the disc could not be read back</source>
        <translation>no se pudo volver a leer el disco</translation>
    </message>
    <message>
        <source>the disc was changed during the write</source>
        <translation>se cambió el disco durante la grabación</translation>
    </message>
    <message>
        <source>the drive was reset during the write</source>
        <translation>la unidad se restableció durante la grabación</translation>
    </message>
    <message>
        <source>the drive reported a hardware fault</source>
        <translation>la unidad informó de un fallo de hardware</translation>
    </message>
    <message>
        <source>the recorder was disconnected or switched off during the write</source>
        <translation>la grabadora se desconectó o se apagó durante la grabación</translation>
    </message>
    <message>
        <source>the drive reported an error it did not explain (sense %1)</source>
        <translation>la unidad informó de un error sin explicarlo (sense %1)</translation>
    </message>
    <message>
        <source>%1 (drive sense %2)</source>
        <translation>%1 (sense de la unidad %2)</translation>
    </message>
    <message>
        <source>what was read back from the disc differs from the video (verify failed)</source>
        <translation>lo leído del disco no coincide con el vídeo (error de verificación)</translation>
    </message>
    <message>
        <source>the videos do not fit on the disc</source>
        <translation>los vídeos no caben en el disco</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>no hay ningún disco grabable listo en la unidad</translation>
    </message>
    <message>
        <source>another program is using the recorder</source>
        <translation>otro programa está usando la grabadora</translation>
    </message>
    <message>
        <source>your account may not use the recorder</source>
        <translation>su cuenta no tiene permiso para usar la grabadora</translation>
    </message>
    <message>
        <source>the disc in the drive cannot be written</source>
        <translation>no se puede grabar el disco de la unidad</translation>
    </message>
    <message>
        <source>the video could not be read from the hard disk</source>
        <translation>no se pudo leer el vídeo del disco duro</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>no se encontró la grabadora</translation>
    </message>
    <message>
        <source>the recorder failed (%1)</source>
        <translation>error de la grabadora (%1)</translation>
    </message>
</context>
<context>
    <name>TransferDevicesLibrary::TransferDevices</name>
    <message>
        <source>Your device&apos;s saved choices cannot be used right now: another program is using the device memory file %1. Portavo carries on without them and tries again later.</source>
        <translation>Las opciones guardadas de su dispositivo no se pueden usar en este momento: otro programa está usando el archivo de memoria de dispositivos %1. Portavo continúa sin ellas y volverá a intentarlo más tarde.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the folder for %1 cannot be created (%2).</source>
        <translation>Portavo no puede recordar sus dispositivos: no se puede crear la carpeta para %1 (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be created (%2).</source>
        <translation>Portavo no puede recordar sus dispositivos: no se puede crear %1 (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: there is no folder for its device memory (HOME is not set).</source>
        <translation>Portavo no puede recordar sus dispositivos: no hay ninguna carpeta para su memoria de dispositivos (HOME no está definido).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 cannot be opened (%2).</source>
        <translation>Portavo no puede recordar sus dispositivos: no se puede abrir %1 (%2).</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged or unreadable (%2). It is left as it is.</source>
        <translation>Portavo no puede recordar sus dispositivos: el archivo de memoria de dispositivos %1 está dañado o no se puede leer (%2). Se deja tal como está.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: the device memory file %1 is damaged. It is left as it is.</source>
        <translation>Portavo no puede recordar sus dispositivos: el archivo de memoria de dispositivos %1 está dañado. Se deja tal como está.</translation>
    </message>
    <message>
        <source>Portavo cannot remember your devices: %1 is not its device memory but some other database. It is left as it is.</source>
        <translation>Portavo no puede recordar sus dispositivos: %1 no es su memoria de dispositivos, sino otra base de datos. Se deja tal como está.</translation>
    </message>
</context>
<context>
    <name>TransferWizardController</name>
    <message>
        <source>Device Memory</source>
        <extracomment>title of a box: the device library that remembers choices per device</extracomment>
        <translation>Memoria de dispositivos</translation>
    </message>
    <message>
        <source>DVD Player</source>
        <extracomment>device kind; it completes &quot;This choice will work with any Kavo Certified %1&quot;</extracomment>
        <translation>reproductor de DVD</translation>
    </message>
    <message>
        <source>Blu-ray Player</source>
        <translation>reproductor de Blu-ray</translation>
    </message>
    <message>
        <source>TV</source>
        <extracomment>device kind: a television</extracomment>
        <translation>televisor</translation>
    </message>
    <message>
        <source>Playstation 3</source>
        <translation>PlayStation 3</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>teléfono móvil</translation>
    </message>
    <message>
        <source>You can only perform one transfer at a time with Portavo. Please finish or close the current transfer before proceeding.</source>
        <translation>Con Portavo solo se puede realizar una transferencia a la vez. Finalice o cierre la transferencia actual antes de continuar.</translation>
    </message>
    <message>
        <source>Add Video Error</source>
        <translation>Error al añadir vídeos</translation>
    </message>
    <message>
        <source>the file could not be converted (error %1)</source>
        <translation>no se pudo convertir el archivo (error %1)</translation>
    </message>
    <message>
        <source>the recorder could not be found</source>
        <translation>no se encontró la grabadora</translation>
    </message>
    <message>
        <source>the disc is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>no writable disc is ready in the drive</source>
        <translation>no hay ningún disco grabable listo en la unidad</translation>
    </message>
    <message>
        <source>no recorder was chosen</source>
        <translation>no se eligió ninguna grabadora</translation>
    </message>
    <message>
        <source>the burn was stopped</source>
        <translation>se detuvo la grabación</translation>
    </message>
    <message>
        <source>the recorder is in use by another program</source>
        <translation>otro programa está usando la grabadora</translation>
    </message>
    <message>
        <source>the disc could not be written</source>
        <translation>no se pudo grabar el disco</translation>
    </message>
    <message>
        <source>Transfer failed. %1 could not be written: %2.</source>
        <translation>Error en la transferencia. No se pudo escribir %1: %2.</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>no se encontró el archivo</translation>
    </message>
    <message>
        <source>the recorder %1 is not available</source>
        <translation>la grabadora %1 no está disponible</translation>
    </message>
</context>
<context>
    <name>TransferWizardDlg</name>
    <message>
        <source>Welcome to Portavo™</source>
        <translation>Bienvenido a Portavo™</translation>
    </message>
    <message>
        <source>Portavo™ makes it easy to watch your favorite videos on your DVD Player, Blu-ray Player, PlayStation® 3 or Digital Television by transferring them using a USB drive or by burning a disc.</source>
        <translation>Portavo™ le permite ver fácilmente sus vídeos favoritos en su reproductor de DVD, reproductor de Blu-ray, PlayStation® 3 o televisor digital: transfiéralos a una unidad USB o grábelos en un disco.</translation>
    </message>
    <message>
        <source>Click &apos;Next&apos; to get started.</source>
        <translation>Haga clic en «Siguiente» para empezar.</translation>
    </message>
    <message>
        <source>Choose your device type</source>
        <translation>Elija el tipo de dispositivo</translation>
    </message>
    <message>
        <source>Which type of Kavo Certified device do you have?</source>
        <translation>¿Qué tipo de dispositivo con certificación Kavo tiene?</translation>
    </message>
    <message>
        <source>Recommended</source>
        <extracomment>beside the recommended profile</extracomment>
        <translation>Recomendado</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Help me choose&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;PLACEHOLDER&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Ayúdeme a elegir&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Choose a transfer method</source>
        <translation>Elija un método de transferencia</translation>
    </message>
    <message>
        <source>How would you like to transfer your videos?</source>
        <translation>¿Cómo desea transferir sus vídeos?</translation>
    </message>
    <message>
        <source>Burn a CD/DVD</source>
        <translation>Grabar un CD/DVD</translation>
    </message>
    <message>
        <source>USB Drive</source>
        <extracomment>transfer method: copy to a USB drive</extracomment>
        <translation>Unidad USB</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Learn more&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/method/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Más información&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Add or remove videos</source>
        <translation>Añada o quite vídeos</translation>
    </message>
    <message>
        <source>Space remaining:</source>
        <extracomment>free space left on the drive after the listed videos</extracomment>
        <translation>Espacio libre:</translation>
    </message>
    <message>
        <source>No Drive</source>
        <extracomment>shown in large type where the free space of the drive would be</extracomment>
        <translation>Sin unidad</translation>
    </message>
    <message>
        <source>Your USB drive/disc is full.  Please remove one or more videos to continue.</source>
        <translation>Su unidad USB o disco está lleno. Quite uno o varios vídeos para continuar.</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>button: add videos to the list</extracomment>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Add videos</source>
        <translation>Añadir vídeos</translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>button: remove the selected videos from the list</extracomment>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Remove the selected videos</source>
        <translation>Quitar los vídeos seleccionados</translation>
    </message>
    <message>
        <source>Total transfer time: </source>
        <translation>Tiempo total: </translation>
    </message>
    <message>
        <source>Transferring videos</source>
        <translation>Transfiriendo vídeos</translation>
    </message>
    <message>
        <source>Converting video</source>
        <translation>Convirtiendo vídeo</translation>
    </message>
    <message>
        <source>Counting...</source>
        <extracomment>remaining time not yet known</extracomment>
        <translation>Calculando…</translation>
    </message>
    <message>
        <source>Transfer Complete</source>
        <translation>Transferencia completada</translation>
    </message>
    <message>
        <source>Portavo™ has successfully transferred your videos to your disc/USB drive.  Your settings will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo™ ha transferido correctamente sus vídeos al disco o a la unidad USB. Su configuración se guardará para que la próxima transferencia de vídeos a este dispositivo sea más rápida.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc/USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Para ver su vídeo, inserte el disco o la unidad USB en su dispositivo con certificación Kavo. ¡Que lo disfrute!</translation>
    </message>
    <message>
        <source>You need to play the registration video first before you can play Kavo VOD movie properly.</source>
        <translation>Primero debe reproducir el vídeo de registro para que las películas Kavo VOD se reproduzcan correctamente.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;Need Help?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;http://help.portavo.invalid/kavo/windows/portavo/support/help/en&quot;&gt;&lt;span style=&quot; color:#2BB0DC;&quot;&gt;¿Necesita ayuda?&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>DISPOSITIVO</translation>
    </message>
    <message>
        <source>METHOD</source>
        <extracomment>wizard step: the transfer method, in capitals</extracomment>
        <translation>MÉTODO</translation>
    </message>
    <message>
        <source>VIDEOS</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>VÍDEOS</translation>
    </message>
    <message>
        <source>TRANSFER</source>
        <extracomment>wizard step, in capitals</extracomment>
        <translation>TRANSFERENCIA</translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>wizard button: previous page</extracomment>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Start</source>
        <extracomment>wizard button: start the transfer</extracomment>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>wizard button: next page</extracomment>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>wizard button: cancel the running transfer</extracomment>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Transfer failed</source>
        <translation>Error en la transferencia</translation>
    </message>
    <message>
        <source>No CD/DVD burner drive found.</source>
        <translation>No se encontró ninguna grabadora de CD/DVD.</translation>
    </message>
    <message>
        <source>Insert USB drive</source>
        <translation>Inserte una unidad USB</translation>
    </message>
    <message>
        <source>No USB drive found. Please insert USB drive.</source>
        <translation>No se encontró ninguna unidad USB. Inserte una unidad USB.</translation>
    </message>
    <message>
        <source>There is no disc detected.  Please insert a disc or select another drive to continue.</source>
        <translation>No se ha detectado ningún disco. Inserte un disco o seleccione otra unidad para continuar.</translation>
    </message>
    <message>
        <source>There is no USB drive detected.  Please insert a USB drive or select another drive to continue.</source>
        <translation>No se ha detectado ninguna unidad USB. Inserte una unidad USB o seleccione otra unidad para continuar.</translation>
    </message>
    <message>
        <source>Unable to write to the disc that is inserted. Please insert another disc to continue.</source>
        <translation>No se puede escribir en el disco insertado. Inserte otro disco para continuar.</translation>
    </message>
    <message>
        <source>Unable to write to the USB drive that is inserted. Please insert another USB drive to continue.</source>
        <translation>No se puede escribir en la unidad USB insertada. Inserte otra unidad USB para continuar.</translation>
    </message>
    <message>
        <source>Your Disc is full.  Please insert another disc to continue.</source>
        <translation>Su disco está lleno. Inserte otro disco para continuar.</translation>
    </message>
    <message>
        <source>Your USB Drive is full.  Please remove one or more videos to continue.</source>
        <translation>Su unidad USB está llena. Quite uno o varios vídeos para continuar.</translation>
    </message>
    <message>
        <source>Your USB drive does not have enough free space available for this transfer.  Please remove one or more videos or make room on your USB drive to continue.</source>
        <translation>Su unidad USB no tiene suficiente espacio libre para esta transferencia. Quite uno o varios vídeos o libere espacio en la unidad USB para continuar.</translation>
    </message>
    <message>
        <source>USB drive must be formatted %1.  Please insert another USB drive to continue.</source>
        <translation>La unidad USB debe tener formato %1. Inserte otra unidad USB para continuar.</translation>
    </message>
    <message>
        <source>The video %1 is 4 GB or larger and cannot be stored on a USB drive formatted %2.  Please remove the video or insert a USB drive formatted NTFS or exFAT to continue.</source>
        <translation>El vídeo %1 ocupa 4 GB o más y no se puede guardar en una unidad USB con formato %2. Quite el vídeo o inserte una unidad USB con formato NTFS o exFAT para continuar.</translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>wizard button on the last page: closes the wizard</extracomment>
        <translation>Finalizar</translation>
    </message>
    <message>
        <source>This choice will work with any Kavo Certified %1</source>
        <translation>Esta opción funcionará con cualquier %1 con certificación Kavo</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo HD Certified %1</source>
        <translation>Elija esta opción solo si tiene un %1 con certificación Kavo HD</translation>
    </message>
    <message>
        <source>Only choose this if you have a Kavo Plus HD Certified %1</source>
        <translation>Elija esta opción solo si tiene un %1 con certificación Kavo Plus HD</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your CD/DVD. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo ha transferido correctamente sus vídeos al CD/DVD. Sus opciones se guardarán para que la próxima transferencia de vídeos a este dispositivo sea más rápida.</translation>
    </message>
    <message>
        <source>To watch your video, insert the disc into your Kavo Certified device and enjoy!</source>
        <translation>Para ver su vídeo, inserte el disco en su dispositivo con certificación Kavo. ¡Que lo disfrute!</translation>
    </message>
    <message>
        <source>Portavo has successfully transferred your videos to your USB Drive. Your choices will be stored to make transferring videos to this device quicker next time.</source>
        <translation>Portavo ha transferido correctamente sus vídeos a la unidad USB. Sus opciones se guardarán para que la próxima transferencia de vídeos a este dispositivo sea más rápida.</translation>
    </message>
    <message>
        <source>To watch your video, insert the USB drive into your Kavo Certified device and enjoy!</source>
        <translation>Para ver su vídeo, conecte la unidad USB a su dispositivo con certificación Kavo. ¡Que lo disfrute!</translation>
    </message>
    <message>
        <source>Estimated remaining time:</source>
        <translation>Tiempo restante estimado:</translation>
    </message>
    <message>
        <source>%1 files</source>
        <extracomment>a file type of the Add dialog&apos;s filter; %1 is its name (&quot;MPEG-4&quot;, &quot;All Video&quot;)</extracomment>
        <translation>Archivos de %1</translation>
    </message>
    <message>
        <source>Open Video</source>
        <extracomment>title of the file dialog that adds videos</extracomment>
        <translation>Abrir vídeo</translation>
    </message>
    <message>
        <source>Invalid Files</source>
        <translation>Archivos no válidos</translation>
    </message>
    <message>
        <source>Kavo Transfer Wizard is unable to recognize the following files:</source>
        <translation>Kavo Transfer Wizard no reconoce los siguientes archivos:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>If you choose to close window, your progress will be lost.</source>
        <translation>Si cierra la ventana, se perderá el progreso.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer and close window?</source>
        <translation>¿Seguro que desea cancelar esta transferencia y cerrar la ventana?</translation>
    </message>
    <message>
        <source>If you choose to cancel the transfer process, your progress will be lost.</source>
        <translation>Si cancela la transferencia, se perderá el progreso.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel this transfer?</source>
        <translation>¿Seguro que desea cancelar esta transferencia?</translation>
    </message>
    <message>
        <source>Error %1: There was an error with the file %2 and the file cannot be converted. The transfer cannot be completed.</source>
        <translation>Error %1: se ha producido un error con el archivo %2 y no se puede convertir. No se puede completar la transferencia.</translation>
    </message>
    <message>
        <source>Error: %1. There was an error with the file %2 and the file cannot be converted. 

Would you like to continue with transferring the remaing files? </source>
        <translation>Error: %1. Se ha producido un error con el archivo %2 y no se puede convertir.

¿Desea continuar con la transferencia de los archivos restantes?</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>Información del archivo</translation>
    </message>
    <message>
        <source>Why do some file types take longer to transfer than others?</source>
        <translation>¿Por qué algunos tipos de archivo tardan más en transferirse que otros?</translation>
    </message>
    <message>
        <source>Portavo may need to convert your files to ensure that they are compatible with your Kavo Certified device. 

Larger files might also take longer to transfer than smaller files.</source>
        <translation>Es posible que Portavo tenga que convertir sus archivos para que sean compatibles con su dispositivo con certificación Kavo.

Además, los archivos grandes pueden tardar más en transferirse que los pequeños.</translation>
    </message>
    <message>
        <source>Input files already in queue</source>
        <translation>Archivos ya en la cola</translation>
    </message>
    <message>
        <source>Portavo did not add the following input files because they are already in the queue:

%1</source>
        <translation>Portavo no ha añadido los siguientes archivos porque ya están en la cola:

%1</translation>
    </message>
    <message>
        <source>Converting video %1 of %2</source>
        <translation>Convirtiendo vídeo %1 de %2</translation>
    </message>
    <message>
        <source>Burning disc</source>
        <translation>Grabando disco</translation>
    </message>
    <message>
        <source>Transferring to USB drive</source>
        <translation>Transfiriendo a la unidad USB</translation>
    </message>
    <message>
        <source>Transfer completed.</source>
        <translation>Transferencia completada.</translation>
    </message>
    <message>
        <source>Transfer failed. The destination drive is no longer available.</source>
        <translation>Error en la transferencia. La unidad de destino ya no está disponible.</translation>
    </message>
    <message>
        <source>Transferring videos %1 of %2</source>
        <translation>Transfiriendo vídeo %1 de %2</translation>
    </message>
    <message>
        <source>Transfer canceled.</source>
        <translation>Transferencia cancelada.</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>wizard button at the end of a transfer: close the wizard / go to the finish page</extracomment>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Transfer canceled</source>
        <translation>Transferencia cancelada</translation>
    </message>
    <message>
        <source>If you choose to close window, the videos in your list will be removed.</source>
        <translation>Si cierra la ventana, se quitarán los vídeos de la lista.</translation>
    </message>
    <message>
        <source>Are you sure you want to close window?</source>
        <translation>¿Seguro que desea cerrar la ventana?</translation>
    </message>
    <message>
        <source>Verifying disc</source>
        <translation>Verificando disco</translation>
    </message>
    <message>
        <source>Unable to write the disc image: %1.</source>
        <translation>No se puede escribir la imagen de disco: %1.</translation>
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
        <translation>Estos vídeos necesitan %1; este disco admite %2. Quite unos %3 de vídeos o elija un DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc holds %2. Remove about %3 of videos, or choose a disc that holds more.</source>
        <translation>Estos vídeos necesitan %1; este disco admite %2. Quite unos %3 de vídeos o elija un disco con más capacidad.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc or a DVD.</source>
        <translation>Estos vídeos necesitan %1; este disco tiene espacio para %2. Quite unos %3 de vídeos o elija un disco virgen o un DVD.</translation>
    </message>
    <message>
        <source>These videos need %1; this disc has room for %2. Remove about %3 of videos, or choose a blank disc.</source>
        <translation>Estos vídeos necesitan %1; este disco tiene espacio para %2. Quite unos %3 de vídeos o elija un disco virgen.</translation>
    </message>
    <message>
        <source>These videos need %1; this drive has %2 free.</source>
        <translation>Estos vídeos necesitan %1; esta unidad tiene %2 libres.</translation>
    </message>
    <message>
        <source>The image file %1 already holds a disc. Remove or rename it to write a new one.</source>
        <translation>El archivo de imagen %1 ya contiene un disco. Elimínelo o cámbiele el nombre para escribir uno nuevo.</translation>
    </message>
    <message>
        <source>The destination drive is no longer available.</source>
        <translation>La unidad de destino ya no está disponible.</translation>
    </message>
    <message>
        <source>The disc drive %1 is no longer available.</source>
        <translation>La unidad de disco %1 ya no está disponible.</translation>
    </message>
    <message>
        <source>The USB drive %1 is no longer available.</source>
        <translation>La unidad USB %1 ya no está disponible.</translation>
    </message>
    <message>
        <source>Back to the list</source>
        <translation>Ver la lista</translation>
    </message>
    <message>
        <source>Whole transfer: %1 %</source>
        <translation>Total: %1 %</translation>
    </message>
</context>
<context>
    <name>UDisks2Ejector</name>
    <message>
        <source>the drive is not known to UDisks2</source>
        <translation>UDisks2 no conoce la unidad</translation>
    </message>
</context>
<context>
    <name>USBFileCopier</name>
    <message>
        <source>could not open the video</source>
        <translation>no se pudo abrir el vídeo</translation>
    </message>
    <message>
        <source>could not read the video</source>
        <translation>no se pudo leer el vídeo</translation>
    </message>
    <message>
        <source>the video is not a regular file</source>
        <translation>el vídeo no es un archivo normal</translation>
    </message>
    <message>
        <source>no free file name on the drive</source>
        <translation>no hay ningún nombre de archivo libre en la unidad</translation>
    </message>
    <message>
        <source>could not create the file on the drive</source>
        <translation>no se pudo crear el archivo en la unidad</translation>
    </message>
    <message>
        <source>could not copy to the drive</source>
        <translation>no se pudo copiar en la unidad</translation>
    </message>
    <message>
        <source>could not write to the drive</source>
        <translation>no se pudo escribir en la unidad</translation>
    </message>
    <message>
        <source>the video became shorter while it was copied</source>
        <translation>el vídeo se acortó mientras se copiaba</translation>
    </message>
    <message>
        <source>could not finish writing to the drive</source>
        <translation>no se pudo terminar de escribir en la unidad</translation>
    </message>
    <message>
        <source>could not name the file on the drive</source>
        <translation>no se pudo poner nombre al archivo en la unidad</translation>
    </message>
    <message>
        <source>could not finish writing the folder on the drive</source>
        <translation>no se pudo terminar de escribir la carpeta en la unidad</translation>
    </message>
    <message>
        <source>the drive&apos;s FAT file system cannot store files of 4 GB or more</source>
        <translation>el sistema de archivos FAT de la unidad no puede almacenar archivos de 4 GB o más</translation>
    </message>
</context>
<context>
    <name>UnattendedTransfer</name>
    <message>
        <source>portavo: nothing was transferred: %1</source>
        <translation>portavo: no se ha transferido nada: %1</translation>
    </message>
    <message>
        <source>this device needs a transcode profile: give -profile 0, 1, 3 or 4</source>
        <translation>este dispositivo necesita un perfil de conversión: indique -profile 0, 1, 3 o 4</translation>
    </message>
    <message>
        <source>%1 is not a USB drive, an &quot;ExtraDrives&quot; folder or an image burner</source>
        <translation>%1 no es una unidad USB, una carpeta de «ExtraDrives» ni una grabadora de imágenes</translation>
    </message>
    <message>
        <source>none of the files exists</source>
        <translation>no existe ninguno de los archivos</translation>
    </message>
    <message>
        <source>none of the files can be transferred</source>
        <translation>no se puede transferir ninguno de los archivos</translation>
    </message>
    <message>
        <source>portavo: %1 could not be converted (error %2)</source>
        <translation>portavo: no se pudo convertir %1 (error %2)</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>no se encontró el archivo</translation>
    </message>
    <message>
        <source>the file is not a video that can be transferred</source>
        <translation>el archivo no es un vídeo que se pueda transferir</translation>
    </message>
    <message>
        <source>the transfer stopped before this file was written</source>
        <translation>la transferencia se detuvo antes de escribir este archivo</translation>
    </message>
    <message>
        <source>the transfer could not be started</source>
        <translation>no se pudo iniciar la transferencia</translation>
    </message>
    <message>
        <source>portavo: closed the message &quot;%1&quot;</source>
        <translation>portavo: se cerró el mensaje «%1»</translation>
    </message>
    <message>
        <source>portavo: the destination %1 went away during the transfer</source>
        <translation>portavo: el destino %1 desapareció durante la transferencia</translation>
    </message>
</context>
<context>
    <name>UnsupportedVideoDialog</name>
    <message>
        <source>Unsupported Video</source>
        <translation>Vídeo no compatible</translation>
    </message>
    <message>
        <source>We are sorry, but Portavo does not support this file type</source>
        <translation>Lo sentimos, pero Portavo no admite este tipo de archivo</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>Más información</translation>
    </message>
</context>
<context>
    <name>WindowTitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Minimizes the Portavo window</source>
        <translation>Minimiza la ventana de Portavo</translation>
    </message>
    <message>
        <source>Closes Portavo</source>
        <translation>Cierra Portavo</translation>
    </message>
</context>
<context>
    <name>WizardAccessibleNames</name>
    <message>
        <source>Drag to move the window</source>
        <translation>Arrastre para mover la ventana</translation>
    </message>
    <message>
        <source>Kavo Certified</source>
        <translation>Con certificación Kavo</translation>
    </message>
    <message>
        <source>Works with any Kavo Certified device</source>
        <translation>Funciona con cualquier dispositivo con certificación Kavo</translation>
    </message>
    <message>
        <source>Kavo HD Certified</source>
        <translation>Con certificación Kavo HD</translation>
    </message>
    <message>
        <source>Only for a Kavo HD Certified device</source>
        <translation>Solo para dispositivos con certificación Kavo HD</translation>
    </message>
    <message>
        <source>Kavo Plus HD Certified</source>
        <translation>Con certificación Kavo Plus HD</translation>
    </message>
    <message>
        <source>Only for a Kavo Plus HD Certified device</source>
        <translation>Solo para dispositivos con certificación Kavo Plus HD</translation>
    </message>
    <message>
        <source>Help me choose</source>
        <translation>Ayúdeme a elegir</translation>
    </message>
    <message>
        <source>Explains the device types</source>
        <translation>Explica los tipos de dispositivo</translation>
    </message>
    <message>
        <source>Learn more</source>
        <translation>Más información</translation>
    </message>
    <message>
        <source>Explains the transfer methods</source>
        <translation>Explica los métodos de transferencia</translation>
    </message>
    <message>
        <source>Videos to transfer</source>
        <translation>Vídeos para transferir</translation>
    </message>
    <message>
        <source>Delete removes the selected videos. Enter on a video whose time is underlined tells why it takes longer.</source>
        <translation>Supr quita los vídeos seleccionados. Intro sobre un vídeo con la duración subrayada explica por qué tarda más.</translation>
    </message>
    <message>
        <source>Destination drive</source>
        <translation>Unidad de destino</translation>
    </message>
    <message>
        <source>Space opens the list of drives, the arrow keys choose one</source>
        <translation>Espacio abre la lista de unidades y las flechas eligen una</translation>
    </message>
    <message>
        <source>Space used on the destination</source>
        <translation>Espacio usado en el destino</translation>
    </message>
    <message>
        <source>Open the USB drive</source>
        <translation>Abrir la unidad USB</translation>
    </message>
    <message>
        <source>Videos being transferred</source>
        <translation>Vídeos en transferencia</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Progreso de la transferencia</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>¿Necesita ayuda?</translation>
    </message>
    <message>
        <source>Opens the help pages</source>
        <translation>Abre las páginas de ayuda</translation>
    </message>
</context>
<context>
    <name>WizardShell</name>
    <message>
        <source>the command line needs -xfer and -id N</source>
        <translation>la línea de comandos necesita -xfer y -id N</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a transcode profile (0, 1, 3 or 4)</source>
        <translation>«%1» no es un perfil de conversión (0, 1, 3 o 4)</translation>
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
        <translation>Uso: portavo -xfer -id DISPOSITIVO [-file URL]... [-activationvideo]
Copia vídeos en un disco o una unidad USB que un reproductor doméstico pueda reproducir.
  -xfer             inicia el asistente de transferencia (obligatorio)
  -id DISPOSITIVO   el dispositivo de destino (obligatorio): 10000 reproductor de DVD,
                    10001 reproductor de Blu-ray, 10002 televisor, 10003 PlayStation 3,
                    10004 teléfono móvil, o el número de un dispositivo ya guardado;
                    1000 escribe los archivos tal como están, sin convertirlos
  -file URL         un vídeo que añadir, como URL de archivo
                    (file:///home/alice/a%20b.mp4); repítalo para más vídeos
  -activationvideo  los vídeos son vídeos de activación: van al principio de la lista
Mientras el asistente está abierto, el mismo comando le pasa más vídeos.
</translation>
    </message>
</context>
</TS>
