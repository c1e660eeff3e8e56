#include "TodaysOptions.h"

#include <algorithm>
#include <iterator>

namespace {

// What a player's file holds besides what the screen edits, in the game's
// order: a group of each kind of key, then the key bindings of each kind of
// input, which make up most of a real file.
const char* const head =
    "version:1\nold_game_version_major:1\nold_game_version_minor:21\nold_game_version_patch:50\n"
    "mp_username:Steve\nmp_server_visible:1\nmp_xboxlive_visible:1\nmp_nex_visible:1\n"
    "game_difficulty_new:2\ngame_thirdperson:0\ngame_language:en_US\ngame_skintypefull:Standard_Custom\n"
    "game_lastcustomskinnew:\ngame_lastworldname:\xC2\xA7"
    "6Gold \xC2\xA7rIsland\n"
    "game_haseverloggedintoxbl:1\ngfx_viewdistance:512\ngfx_particleviewdistance:64\ngfx_viewbobbing:1\n"
    "gfx_transparentleaves:0\ngfx_smoothlighting:1\ngfx_fancyskies:1\ngfx_field_of_view:69.2\n"
    "gfx_msaa:4\ngfx_gamma:0.3\ngfx_guiscale_offset:0\ngfx_hidehand:0\ngfx_hidepaperdoll:0\ngfx_vsync:1\n"
    "gfx_fullscreen:0\ngfx_max_framerate:0\ngfx_texel_aa_2:1\naudio_main:1\naudio_music:0.25\n"
    "audio_sound:1\naudio_ambient:0.8\naudio_block:1\naudio_hostile:1\naudio_neutral:0.7\n"
    "audio_player:1\naudio_record:0\naudio_weather:0.45\naudio_ui:1\nctrl_sensitivity2_mouse:0.6862745\n"
    "ctrl_sensitivity2_touch:0.5\nctrl_sensitivity2_gamepad:1\nctrl_invertmouse_mouse:0\n"
    "ctrl_invertmouse_touch:0\nctrl_autojump_mouse:1\nctrl_autojump_touch:1\n"
    "ctrl_fullkeyboardgameplay:0\nctrl_lefthanded:0\nctrl_swapjumpandsneak:0\nctrl_usetouchjoypad:1\n"
    "feedback_vibration:1\ndev_enable_profiler:0\ndev_show_tcui_replacement:0\n";

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
  std::string text = head;
  size_t written = size_t(std::count(text.begin(), text.end(), '\n'));
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
