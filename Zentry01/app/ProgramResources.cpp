#include "ProgramResources.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

static void initProgramResources() { Q_INIT_RESOURCE(zentry01); }

namespace {
LastSound g_last = LastSound::None;
bool g_soundOutput = false;

QSoundEffect* effect(Wave wave) {
    // Owned by the application, so they outlive their playing and end with it.
    static QMap<Wave, QPointer<QSoundEffect>> effects;
    QPointer<QSoundEffect>& e = effects[wave];
    if (!e) {
        LoadProgramResources();
        e = new QSoundEffect(QCoreApplication::instance());
        e->setSource(QUrl(wave == Wave::Right ? QStringLiteral("qrc:/zentry01/wave164.wav")
                                              : QStringLiteral("qrc:/zentry01/wave168.wav")));
    }
    return e;
}
} // namespace

void LoadProgramResources() {
    static const bool loaded = (initProgramResources(), true);
    (void)loaded;
}

QIcon ProgramIcon() {
    LoadProgramResources();
    return QIcon(QStringLiteral(":/zentry01/icon.svg"));
}

void PlayWave(Wave wave) {
    g_last = wave == Wave::Right ? LastSound::RightWave : LastSound::NextCardWave;
    if (g_soundOutput)
        effect(wave)->play();
}

void PlayExclamationBeep() {
    g_last = LastSound::Beep;
    if (g_soundOutput)
        QApplication::beep();
}

void EnableSoundOutput(bool on) { g_soundOutput = on; }

LastSound LastSoundPlayed() { return g_last; }
void ResetLastSound() { g_last = LastSound::None; }
