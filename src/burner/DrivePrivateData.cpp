#include "DrivePrivateData.h"

#include "StorageDeviceList.h"

DrivePrivateData::DrivePrivateData(StorageLibrary& library, const LD_DeviceRecord& record)
    : m_library(library), m_record(record)
{
}

DrivePrivateData::~DrivePrivateData()
{
    if (!HasHandle(m_record))
        return;
    StorageDeviceList::Instance().Remove(m_record.words[0]);
    m_library.CloseDevice(&m_record);
}
