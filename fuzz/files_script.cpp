// Fuzzes the script reader: any text either reads as a record, reads as far as it goes and says
// where it ran short, or gives the reader's message.
#include "common/OrvantaError.h"
#include "workspace/ScriptFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    // Most inputs would stop at the magic line; give half of them a valid one.
    if (size > 0 && (data[0] & 1))
        text = std::string(ScriptMagic) + "\r\n" + text.substr(1);
    try {
        // The staged reader and the whole-script reader agree on which scripts are complete.
        const ScriptRecord staged = readScript(text);
        const bool complete = staged.Shortage == ScriptShortage::None;
        try {
            if (!(readScriptText(text) == staged) || !complete)
                std::abort();
        } catch (const OrvantaError&) {
            if (complete)
                std::abort();
            return 0;
        }
        // What was read is written back and reads back the same, once the turns have taken the
        // 15 significant digits of the written form.
        std::string written = scriptText(staged);
        ScriptRecord record = readScriptText(written);
        if (scriptText(record) != written || !(readScriptText(written) == record))
            std::abort();
    } catch (const OrvantaError&) {
    }
    return 0;
}
