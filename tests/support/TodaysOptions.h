#pragma once

// Test-only: options files shaped as today's game writes them.

#include <string>

// A file of today's game with `keys` settings (57 at the least), one a line in
// the game's order, each ended by a line feed: the settings the options
// screen edits, with the values below, among many it does not know; a value
// with "§" (game_lastworldname:§6Gold §rIsland) and an empty one
// (game_lastcustomskinnew:).
//   mp_username:Steve  game_difficulty_new:2  game_thirdperson:0
//   mp_server_visible:1  gfx_viewdistance:512  gfx_field_of_view:69.2
//   gfx_gamma:0.3  gfx_fancyskies:1  gfx_smoothlighting:1
//   gfx_transparentleaves:0  gfx_viewbobbing:1  gfx_vsync:1
//   gfx_fullscreen:0  gfx_max_framerate:0  ctrl_sensitivity2_mouse:0.6862745
//   ctrl_sensitivity2_touch:0.5  ctrl_sensitivity2_gamepad:1
//   ctrl_invertmouse_mouse:0  ctrl_autojump_mouse:1  audio_main:1
//   audio_music:0.25  audio_sound:1  audio_ambient:0.8  audio_block:1
//   audio_hostile:1  audio_neutral:0.7  audio_player:1  audio_record:0
//   audio_weather:0.45
std::string todaysOptionsFile(size_t keys = 460);
