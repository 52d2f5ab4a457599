#include <cstdio>
#include <cstdlib>

#include "platform/ui/windowing/ResourceScript.h"
#include "resources/EmbeddedScripts.h"

bool CompileEmbeddedScript(const EmbeddedScript& script, platform::ui::ResourceTable& table, std::string& error)
{
    const platform::ui::ScriptResult result = platform::ui::CompileResourceScript(script.text, table);
    if (result.ok) return true;
    error = std::string(script.name) + ":" + std::to_string(result.line) + ":" + std::to_string(result.column) +
            ": " + result.message;
    return false;
}

void CompileEmbeddedScriptsOrStop(platform::ui::ResourceTable& table)
{
    int count = 0;
    const EmbeddedScript* scripts = EmbeddedScripts(count);
    for (int i = 0; i < count; ++i) {
        std::string error;
        if (CompileEmbeddedScript(scripts[i], table, error)) continue;
        std::fprintf(stderr, "morvelance: resource script error: %s\n", error.c_str());
        std::abort();
    }
}
