#pragma once

// The storage library: optical recorders (libburn), image-file recorders that behave like a
// medium in a drive, and disc volumes (ISO 9660 through libisofs, UDF through our own writer).
// A flat C interface: every call returns a status, 0 for success or one of the negative codes
// below; scalars and records go by pointer.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum LD_StatusCode
{
    LD_OK = 0,
    LD_BufferOverflow = -97010,
    LD_Fatal = -97011,
    LD_NotFound = -97012,
    LD_NotImplemented = -97013,
    LD_NotInitialized = -97014,
    LD_NotSupported = -97015,
    LD_UnsupportedVersion = -97016,
    LD_InvalidAccess = -97017,
    LD_ReentrantCall = -97018,
    LD_DllFailedToLoad = -97019,
    LD_InvalidFile = -97030,
    LD_InvalidFolder = -97031,
    LD_InvalidIndex = -97032,
    LD_InvalidLanguageCode = -97033,
    LD_InvalidMediaType = -97034,
    LD_InvalidMetadata = -97035,
    LD_InvalidMetadataName = -97036,
    LD_InvalidOperation = -97037,
    LD_InvalidParameter = -97038,
    LD_InvalidProjectType = -97039,
    LD_InvalidStringType = -97040,
    LD_InvalidTime = -97041,
    LD_InvalidTimeUnit = -97042,
    LD_InvalidTrackType = -97043,
    LD_InvalidHandle = -97044,
    LD_InvalidSequence = -97045,
    LD_InvalidLayerBreak = -97046,
    LD_DeviceError = -97060,
    LD_DeviceNotReady = -97061,
    LD_DeviceSelected = -97062,
    LD_MediaFull = -97063,
    LD_NotEnoughStorage = -97064,
    LD_DeviceInUse = -97065,
    LD_DeviceInQuickUse = -97066,
    LD_TrackCountOverflow = -97070,
    LD_DeviceSenseError = -97071,
    LD_FullEraseNeeded = -97072,
    LD_MediaError = -97074,
    LD_FileExists = -97080,
    LD_FileNotFound = -97081,
    LD_FolderExists = -97082,
    LD_FolderNotFound = -97083,
    LD_FileOpenFailed = -97084,
    LD_MetadataNotFound = -97100,
    LD_MetadataTypeMismatch = -97101,
    LD_UserCancelled = -97120,
    LD_StreamCallbackError = -97121,
    LD_DataMiscompare = -97140,
    LD_WriteError = -97141,
    LD_ReadError = -97142,
    LD_AudioDecoderError = -97160,
    LD_AudioEncoderError = -97161,
};

// Nine words filled on open; the first is the handle (0 or all bits set: none).
typedef struct LD_DeviceRecord
{
    uint32_t words[9];
} LD_DeviceRecord;

// A volume opened on a device; 0 is no volume.
typedef uint32_t LD_VolumeHandle;

enum LD_TextType
{
    LD_Text8 = 1,  // UTF-8
    LD_Text16 = 3, // UTF-16 (host byte order)
};

// A text argument: type, length in units including the terminator (or the capacity of an
// output buffer), and the characters.
typedef struct LD_Text
{
    uint32_t type;
    uint32_t length;
    const void* data;
} LD_Text;

enum LD_Phase
{
    LD_PhaseProgress = 0,
    LD_PhaseFormat = 1,
    LD_PhaseMount = 2,
    LD_PhasePlan = 3,
    LD_PhaseWrite = 4,
    LD_PhaseClose = 5,
    LD_PhaseVerify = 6,
};

// Six unsigned words; size is 24.
typedef struct LD_ProgressRecord
{
    uint32_t size;
    uint32_t currentSector;
    uint32_t totalSectors;
    uint32_t phase;
    uint32_t errorCode; // a status code as an unsigned word
    uint32_t deviceHandle;
} LD_ProgressRecord;

enum LD_ReportKind
{
    LD_ReportProgress = 1,
    LD_ReportInsertMedium = 2,
    LD_ReportInsertNextMedium = 3,
};

// Called on a thread of the library's choosing. Returns 0 to go on or LD_UserCancelled to cancel
// the running operation, which then ends with LD_UserCancelled.
typedef int32_t (*LD_ProgressCallback)(const int32_t* kind, int32_t percent,
                                       LD_ProgressRecord* record, void* context);

// Detailed status of a long device operation (erase), for the status callback.
typedef struct LD_StatusInfo
{
    uint32_t size;
    uint32_t deviceHandle;
    int32_t mediaStatus;
    uint32_t operation; // an LD_Phase
    uint32_t currentBlock;
    uint32_t totalBlocks;
    uint32_t readErrors;
    uint32_t miscompares;
    uint32_t speedKbps;
    uint32_t percent;
} LD_StatusInfo;

typedef int32_t (*LD_StatusCallback)(const LD_StatusInfo* info, void* context);

// Device classes of LD_GetStorageDeviceCount.
enum LD_DeviceClass
{
    LD_ClassRecorders = 1,   // recorders: optical drives and image burners
    LD_ClassOpticalTape = 3, // optical and tape drives of the host
};

enum LD_DeviceProperty
{
    LD_DevDescription = 0,   // UTF-16, terminated
    LD_DevPath = 6,          // UTF-16, terminated: "/dev/sr0" or the image file
    LD_DevCapabilities = 10, // 32 bits; bit 0 recorder
    LD_DevWriteBits = 11,    // 64 bits; bit 0 and bit 6 writes
    LD_DevTray = 12,         // 32 bits; 1 undetermined, 2 open, 3 closed
    LD_DevKind = 99,         // 32 bits; 0 device, 1 file, 4 folder
    // UTF-16, terminated; empty when none. Why no volume can be written here now (an image
    // burner's path that is missing, not a file, not writable), and why the last volume
    // opened or flushed on this device failed.
    LD_DevWriteProblem = 100,
    LD_DevLastFailure = 101,
};

enum LD_MediaProperty
{
    LD_MediaValue = 4,            // 32 bits
    LD_MediaLayerCount = 5,       // 32 bits
    LD_MediaLayerCapacity = 8,    // array of 32-bit block counts, one per layer
    LD_MediaLayerStart = 9,       // array of 32-bit start blocks, one per layer
    LD_MediaState = 12,           // 32 bits, LD_MediaStateBits
    LD_MediaFlags = 13,           // 32 bits; 0x200 destroyable
    LD_MediaUsedBytes = 18,       // 64 bits
    LD_MediaFreeBytes = 19,       // 64 bits
    LD_MediaType = 30,            // 64 bits, LD_MediaTypeBits
    LD_MediaSession = 0x30006,    // 32 bits, informational
    LD_MediaWriteRates = 0x10003, // zero-terminated 32-bit rates in hundredths of kB/s
};

enum LD_MediaStateBits
{
    LD_StateReadable = 0x1,
    LD_StateWritable = 0x2,
    LD_StateAppendable = 0x8,
    LD_StateRewrite = 0x20,
    LD_StateErasable = 0x80,
    LD_StateProtected = 0x400,
    LD_StateBlank = 0x1000,
};

enum LD_MediaTypeBits
{
    LD_TypeCDROM = 0x1,
    LD_TypeCDR = 0x2,
    LD_TypeCDRW = 0x4,
    LD_TypeDVDROM = 0x40,
    LD_TypeDVDR = 0x80,
    LD_TypeDVDRW = 0x100,
    LD_TypeDVDPlusR = 0x200,
    LD_TypeDVDPlusRW = 0x400,
    LD_TypeDVDRAM = 0x800,
    LD_TypeDVDPlusRDL = 0x1000,
    LD_TypeDVDRDL = 0x2000,
    LD_TypeBDROM = 0x10000,
    LD_TypeBDR = 0x20000,
    LD_TypeBDRE = 0x40000,
};

// Device property 11: the media families a recorder writes.
enum LD_WriteFamilyBits
{
    LD_WritesCD = 0x1,
    LD_WritesDVD = 0x40,
    LD_WritesBD = 0x10000,
};

// Erase types of LD_StorageDevice_EraseMedia.
enum LD_EraseType
{
    LD_EraseQuick = 0, // the disc's headers only: enough for a new session
    LD_EraseFull = 1,  // every block
};

enum LD_DeviceState
{
    LD_DeviceReady = 17,
    LD_DeviceNotReadyState = 70,
    LD_DeviceBecomingReady = 71,
};

enum LD_FileSystem
{
    LD_FsIsoLevel2Long = 0x8,
    LD_FsJoliet = 0x20,
    LD_FsUdf102 = 0x400,
    LD_FsUdf15 = 0x800,
};

enum LD_VolumeProperty
{
    // Unreadable source files of the last flush: UTF-16 paths, each terminated, the list
    // ended by an empty string.
    LD_VolUnreadableFiles = 22,
};

// Configuration before the first enumeration: image burners as ";"-separated "MEDIA:PATH"
// entries (MEDIA one of cd-r, cd-rw, dvd-r, dvd+r, dvd-rw, bd-r). NULL or "" lists none.
int32_t LD_SetImageBurners(const char* spec);
// Whether real optical drives are scanned (on by default; tests switch it off).
int32_t LD_SetScanOpticalDrives(int32_t enabled);

// The hint for a recorder this account may not open ("/dev/sr0" and its group), written once
// per process as UTF-8 into text (capacity in bytes); an empty text when there is none (or it
// was given before).
int32_t LD_GetRecorderAccessHint(char* text, uint32_t capacity);

int32_t LD_GetStorageDeviceCount(uint32_t deviceClass, uint32_t* count);
int32_t LD_OpenStorageDevice(uint32_t index, LD_DeviceRecord* record, uint32_t, uint32_t, uint32_t);
int32_t LD_StorageDevice_Close(LD_DeviceRecord* record);
int32_t LD_StorageDevice_GetDeviceProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                           void* value, uint32_t* outSize, uint32_t, uint32_t,
                                           uint32_t, uint32_t);
int32_t LD_StorageDevice_GetMediaProperty(LD_DeviceRecord* record, uint32_t id, uint32_t size,
                                          void* value, uint32_t* outSize, uint32_t, uint32_t,
                                          uint32_t, uint32_t);
int32_t LD_StorageDevice_GetState(LD_DeviceRecord* record, uint32_t* state);
// Sense bytes of the last device error (up to size bytes, 21 is enough).
int32_t LD_StorageDevice_GetError(LD_DeviceRecord* record, uint8_t* sense, uint32_t size);
// 1 eject, 2 load, 5 close the tray.
int32_t LD_StorageDevice_TrayControl(LD_DeviceRecord* record, uint32_t command);
// Mode 1 takes, 3 releases. The owner buffer receives the current owner's name (128 units).
int32_t LD_StorageDevice_ExclusiveAccess(LD_DeviceRecord* record, uint32_t mode,
                                         const LD_Text* owner, LD_Text* currentOwner);
int32_t LD_StorageDevice_EraseMedia(LD_DeviceRecord* record, uint32_t eraseType,
                                    LD_StatusCallback callback, void* context);
// fileSystems receives the file-system bits found on the medium (0 for none).
int32_t LD_StorageDevice_OpenVolume(LD_DeviceRecord* record, uint32_t* fileSystems,
                                    LD_ProgressCallback callback, void* context,
                                    LD_VolumeHandle* volume);
int32_t LD_Volume_Create(LD_VolumeHandle* volume, uint32_t fileSystem, const LD_Text* name,
                         uint32_t mode, LD_ProgressCallback callback, void* context);
int32_t LD_Volume_Mount(LD_VolumeHandle* volume, uint32_t mode, LD_ProgressCallback callback,
                        void* context);
int32_t LD_Volume_CreateEntryFromHD(LD_VolumeHandle* volume, const LD_Text* nameOnDisc,
                                    const LD_Text* sourcePath, uint32_t mode);
int32_t LD_Volume_Flush(LD_VolumeHandle* volume, LD_ProgressCallback callback, void* context,
                        uint32_t, uint32_t);
int32_t LD_Volume_GetProperty(LD_VolumeHandle* volume, uint32_t id, uint32_t size, void* value,
                              uint32_t* outSize);
int32_t LD_Volume_Close(LD_VolumeHandle* volume);

#ifdef __cplusplus
}
#endif
