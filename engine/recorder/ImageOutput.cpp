#include "ImageOutput.h"

#include "engine/disc/VideoCdImageWriter.h"

bool ImageOutput::Open(const VideoCdImageWriter&, std::time_t when, BurnWork&, std::string& error)
{
    return m_files.Prepare(m_folder, when, error) && m_sink.Open(m_files.TempBinPath(), error);
}

bool ImageOutput::Close(const VideoCdImageWriter& writer, BurnWork&, std::string& error)
{
    return m_sink.Close(error) && m_files.WriteCueSheet(writer.CueSheet(m_files.BinFileName()), error) &&
           m_files.Commit(error);
}
