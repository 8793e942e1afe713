#pragma once

#include <QFont>
#include <thread>

namespace platform {

/// Maps the Windows font names the layouts use onto fonts this system has.
void installFontSubstitutions();

/// A font by its Windows name, asked for by its substitute: Qt otherwise tries a name it does not
/// know through the system's slower fallback search first, and ends on the same face.
QFont fontNamed(const QString& name);

/// "宋体" with a character height in pixels, as the window layouts give it.
QFont songti(int pixelHeight, bool bold = false);

/// The windows' default font: "MS Sans Serif", 11 pixels (8 pt).
QFont defaultWindowFont();

/// Loads the system's font configuration on another thread while the program connects to the
/// display, so the first text measured does not wait for it.
class TFontConfigurationAhead
{
public:
    TFontConfigurationAhead();
    ~TFontConfigurationAhead();
    TFontConfigurationAhead(const TFontConfigurationAhead&) = delete;
    TFontConfigurationAhead& operator=(const TFontConfigurationAhead&) = delete;

    /// Waits until it is loaded; a font looked up before then loads it a second time. One thread
    /// waits at a time.
    void wait();

private:
    std::thread m_thread;
};

/// Once the font configuration is loaded, reads the system's font list into Qt's font database
/// on another thread while the program builds its first window. Create it after the application
/// object, so it ends before that object does; it waits for the configuration itself, so nothing
/// else may meanwhile.
class TFontDatabaseAhead
{
public:
    explicit TFontDatabaseAhead(TFontConfigurationAhead& configuration);
    ~TFontDatabaseAhead();
    TFontDatabaseAhead(const TFontDatabaseAhead&) = delete;
    TFontDatabaseAhead& operator=(const TFontDatabaseAhead&) = delete;

private:
    std::thread m_thread;
};

} // namespace platform
