#include "TodaysOptions.h"

#include <iterator>

namespace {

// What a player's file holds besides what the screen edits, in the game's
// order: a group of each kind of key, then the key bindings of each kind of
// input, which make up most of a real file.
const char* const head[] = {
    "version:1",
    "old_game_version_major:1",
    "old_game_version_minor:21",
    "old_game_version_patch:50",
    "mp_username:Steve",
    "mp_server_visible:1",
    "mp_xboxlive_visible:1",
    "mp_nex_visible:1",
    "game_difficulty_new:2",
    "game_thirdperson:0",
    "game_language:en_US",
    "game_skintypefull:Standard_Custom",
    "game_lastcustomskinnew:",
    "game_lastworldname:\xC2\xA7"
    "6Gold \xC2\xA7rIsland",
    "game_haseverloggedintoxbl:1",
    "gfx_viewdistance:512",
    "gfx_particleviewdistance:64",
    "gfx_viewbobbing:1",
    "gfx_transparentleaves:0",
    "gfx_smoothlighting:1",
    "gfx_fancyskies:1",
    "gfx_field_of_view:69.2",
    "gfx_msaa:4",
    "gfx_gamma:0.3",
    "gfx_guiscale_offset:0",
    "gfx_hidehand:0",
    "gfx_hidepaperdoll:0",
    "gfx_vsync:1",
    "gfx_fullscreen:0",
    "gfx_max_framerate:0",
    "gfx_texel_aa_2:1",
    "audio_main:1",
    "audio_music:0.25",
    "audio_sound:1",
    "audio_ambient:0.8",
    "audio_block:1",
    "audio_hostile:1",
    "audio_neutral:0.7",
    "audio_player:1",
    "audio_record:0",
    "audio_weather:0.45",
    "audio_ui:1",
    "ctrl_sensitivity2_mouse:0.6862745",
    "ctrl_sensitivity2_touch:0.5",
    "ctrl_sensitivity2_gamepad:1",
    "ctrl_invertmouse_mouse:0",
    "ctrl_invertmouse_touch:0",
    "ctrl_autojump_mouse:1",
    "ctrl_autojump_touch:1",
    "ctrl_fullkeyboardgameplay:0",
    "ctrl_lefthanded:0",
    "ctrl_swapjumpandsneak:0",
    "ctrl_usetouchjoypad:1",
    "feedback_vibration:1",
    "dev_enable_profiler:0",
    "dev_show_tcui_replacement:0",
};

const char* const actions[] = {
    "attack",     "pickItem",    "use",          "drop",          "hotbar.1",
    "hotbar.2",   "hotbar.3",    "hotbar.4",     "hotbar.5",      "hotbar.6",
    "hotbar.7",   "hotbar.8",    "hotbar.9",     "inventory",     "togglePerspective",
    "forward",    "back",        "left",         "right",         "jump",
    "sneak",      "sprint",      "chat",         "command",       "emote",
    "mobEffects", "menuTabLeft", "menuTabRight", "cycleItemLeft", "cycleItemRight",
};

}  // namespace

std::string todaysOptionsFile(size_t keys) {
  std::string text;
  size_t written = 0;
  for (const char* line : head) {
    text += line;
    text += '\n';
    ++written;
  }
  // Bindings: keyboard types first, then gamepads, as the game lists them.
  for (int set = 0; written < keys; ++set) {
    std::string prefix = set < 4 ? "keyboard_type_" + std::to_string(set) + "_key."
                                 : "gamepad_type_" + std::to_string(set - 4) + "_key.";
    for (size_t a = 0; a < std::size(actions) && written < keys; ++a, ++written) {
      text += prefix + actions[a] + ":" + std::to_string(set < 4 ? 30 + int(a) : -1 - int(a)) + "\n";
    }
  }
  return text;
}

std::vector<std::pair<std::string, std::string>> readOptionLines(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
      lines.emplace_back(line, "(no separator)");
    } else {
      lines.emplace_back(line.substr(0, colon), line.substr(colon + 1));
    }
    start = end + 1;
  }
  return lines;
}
