#include "VEK_UTIL/SError.h"

#include "VEK_SYSTEM/SSystem.h"

int SError::show(const char* text, unsigned code, const char* title, unsigned flags) {
    SString message(text);
    if (code != 0) {
        message.appendFormat("\r\n Fehlernummer: %u\r\n", code);
        message.append(SSystem::systemErrorText(code));
    }
    SString caption(title);
    return SSystem::messageBox(SSystem::activeWindow(), message, caption, flags);
}

void SError::add(const char* text, unsigned code) {
    SString entry(text);
    if (code != 0) {
        entry.appendFormat("\r\nFehlernummer: %u\r\n", code);
        entry.append(SSystem::systemErrorText(code));
    }
    entry.trim();
    entry.replace("\r\n", "\r\n\t");
    entry.append("\r\n");
    // Whole entries only: an entry starts the log or follows the CR LF of the previous one.
    SString haystack("\r\n");
    haystack.append(log);
    SString needle("\r\n");
    needle.append(entry);
    if (haystack.find(needle) < 0) log.append(entry);
}

void SError::showCollected() {
    if (log.isEmpty()) return;
    SString message("Folgende Fehler sind w\344hrend der Abarbeitung des Programmes protokolliert worden:\r\n");
    message.append(log);
    SSystem::messageBox(SSystem::activeWindow(), message, "Fehler !", 16);
}
