#pragma once
extern bool replay_playing;
