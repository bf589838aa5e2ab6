#include "DriveOutput.h"

#include "BurnRunner.h"
#include "engine/api/Engine.h"
#include "engine/disc/VideoCdImageWriter.h"

bool DriveOutput::Open(const VideoCdImageWriter& writer, std::time_t, BurnWork& work, std::string& error)
{
    DiscAtOnceHooks hooks;
    hooks.phase = [&work](const std::string& text) { work.SetPhase(text); };
    hooks.percent = [&work](unsigned int percent) { work.SetProgress(percent); };
    hooks.stop = [&work] { return work.ShouldStop(); };
    hooks.log = [&work](const std::string& text) { work.AddLogLine(text); };
    m_writer = std::make_unique<DiscAtOnceWriter>(m_device, m_settings, std::move(hooks));
    if (m_writer->Begin(writer.CueTracks(), writer.TotalSectors(), error))
        return true;
    m_writer->Abandon();
    return false;
}

bool DriveOutput::Close(const VideoCdImageWriter&, BurnWork&, std::string& error)
{
    if (m_writer->Finish(error))
        return true;
    m_writer->Abandon();
    return false;
}

void DriveOutput::Abandon(BurnWork&)
{
    if (m_writer)
        m_writer->Abandon();
}

bool DriveOutput::Spoiled() const
{
    return m_writer && m_writer->Spoiled();
}
