#include "RoundPanel.h"

#include <ctime>

using namespace irr;

const wchar_t* const RoundPanel::startHint = L"F9: start a round";
const wchar_t* const RoundPanel::tableTitle = L"BEST ROUNDS";

namespace {

// Built as 8-bit text: the engine writes unsigned numbers in full there.
core::stringw wide(const core::stringc& text)
{
    return core::stringw(text);
}

} // namespace

std::vector<core::stringw> RoundPanel::heading(const RoundSummary& round)
{
    return {
        L"ROUND OVER",
        wide(core::stringc("JETS HIT: ") + core::stringc(round.hits) + " OF " + core::stringc(round.aircraft)),
        wide(core::stringc("POINTS: ") + core::stringc(round.points)),
        accuracy(round.hits, round.bursts),
    };
}

core::stringw RoundPanel::accuracy(u32 hits, u32 bursts)
{
    if (bursts == 0)
        return L"ACCURACY: NO BURSTS FIRED";
    const u64 hundredths = (static_cast<u64>(hits) * 200 + bursts) / (2 * static_cast<u64>(bursts));
    core::stringc text("ACCURACY: ");
    text += core::stringc(static_cast<u32>(hundredths / 100));
    text += ".";
    if (hundredths % 100 < 10)
        text += "0";
    text += core::stringc(static_cast<u32>(hundredths % 100));
    text += hundredths == 100 ? " HIT PER BURST" : " HITS PER BURST";
    return wide(text);
}

std::vector<RoundPanel::Row> RoundPanel::rows(const std::vector<ScoreTable::Entry>& table, int markedPlace,
                                              u32 aircraftPerRound)
{
    std::vector<Row> result;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ScoreTable::Entry& entry = table[i];
        Row row;
        row.place = wide(core::stringc(static_cast<u32>(i + 1)) + ".");
        row.points = wide(core::stringc(entry.points));
        row.hits = wide(core::stringc(entry.hits) + "/" + core::stringc(aircraftPerRound));
        row.date = dateText(entry.date);
        row.marked = static_cast<int>(i) == markedPlace;
        result.push_back(row);
    }
    return result;
}

core::stringw RoundPanel::footer(int markedPlace)
{
    return markedPlace == ScoreTable::notEntered ? core::stringw(L"NOT AMONG THE BEST ROUNDS") : core::stringw();
}

core::stringw RoundPanel::dateText(u64 secondsSince1970)
{
    const std::time_t time = static_cast<std::time_t>(secondsSince1970);
    std::tm local;
    char text[32];
    if (!::localtime_r(&time, &local) || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return L"?";
    return wide(core::stringc(text));
}
