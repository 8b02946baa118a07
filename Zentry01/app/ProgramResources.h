#pragma once
// The task program's own pictures and sounds.
#include <QIcon>

// Registers the program's resource file (it lives in a static library, so
// nothing registers it by itself). Cheap after the first call.
void LoadProgramResources();

QIcon ProgramIcon();

// The two wave resources: 164 a right answer or a goal met, 168 the switch to
// the next card. Played without waiting; silent when there is no audio device.
enum class Wave { Right = 164, NextCard = 168 };
void PlayWave(Wave wave);
// The system's exclamation beep.
void PlayExclamationBeep();
// Sounds reach the audio device only once the program run has switched them
// on; screens driven on their own (tests) stay silent and never wait on it.
void EnableSoundOutput(bool on);

// What was played last (for checking the feedback rules without a sound device).
enum class LastSound { None, RightWave, NextCardWave, Beep };
LastSound LastSoundPlayed();
void ResetLastSound();
