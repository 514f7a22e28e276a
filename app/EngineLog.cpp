#include "EngineLog.h"

#include <cstdio>

bool EngineLog::report(const irr::SEvent& event)
{
    if (event.EventType != irr::EET_LOG_TEXT_EVENT)
        return false;
    std::fprintf(stderr, "%s\n", event.LogEvent.Text != nullptr ? event.LogEvent.Text : "");
    return true;
}

EngineLog& EngineLog::instance()
{
    static EngineLog log;
    return log;
}
