#include "context/AppContext.h"

#include "storage/TextCatalog.h"

QString AppContext::text(const char* english) const {
    return QString::fromStdString(texts.Text(english, english));
}
