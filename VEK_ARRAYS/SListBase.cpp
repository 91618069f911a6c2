#include "VEK_ARRAYS/SListBase.h"

#include "VEK_UTIL/SError.h"

bool SListBase::checkRange(int index, int limit, const char* operation) const {
    if (index >= 0 && index <= limit) return true;
    SString text;
    text.format("Fehler in der Liste: %s.%s(..)\r\nEs wurde ein Element au\337erhalb des Bereiches angefordert.\r\n"
                "Angefordert wurde: %d\r\nm\366glich ist: 0...%d",
                getClassName(), operation, index, count_ - 1);
    globalError.show(text, 0, "Fehler !", 16);
    return false;
}
