// The stand-in's type32.dll: CNumeric. The host keeps a decimal number in its own buffer; the
// stand-in keeps a double in the first two words of that buffer, which is all the add-in reads
// back (a 32-bit integer or a double).
#define STANDIN_BUILD_TYPE32
#include "host_classes.h"
#include "win.h"

namespace {
double ValueOf(const UINT* buffer) {
    double v;
    memcpy(&v, buffer, sizeof v);
    return v;
}
void Store(UINT* buffer, double v) {
    memcpy(buffer, &v, sizeof v);
}
}  // namespace

CNumeric::CNumeric() : CNumeric(0.0) {}

CNumeric::CNumeric(long v) : CNumeric(static_cast<double>(v)) {}

CNumeric::CNumeric(double v)
    : m_0(0),
      m_nBufferLen(4),
      m_nUsedLen(2),
      m_nScaleLen(0),
      m_Sign(v < 0 ? -1 : 1),
      m_ScaleFactor(0),
      m_pBuffer(m_Buffer),
      m_Buffer{} {
    Store(m_Buffer, v);
}

CNumeric::CNumeric(const CNumeric& other) : CNumeric(ValueOf(other.m_Buffer)) {}

CNumeric::~CNumeric() {
    m_pBuffer = nullptr;
}

CNumeric& CNumeric::operator=(const CNumeric& other) {
    const double v = ValueOf(other.m_Buffer);
    Store(m_Buffer, v);
    m_Sign = v < 0 ? -1 : 1;
    return *this;
}

CNumeric& CNumeric::operator=(long v) {
    return *this = CNumeric(v);
}

// Toward zero, as the host truncates; out of range saturates rather than wrapping.
CNumeric::operator long() const {
    const double v = ValueOf(m_Buffer);
    if (v >= 2147483647.0) return 2147483647L;
    if (v <= -2147483648.0) return -2147483647L - 1;
    return static_cast<long>(v);
}

long double CNumeric::GetDouble() const {
    return ValueOf(m_Buffer);
}

// The leading decimal number of the text; *end, when asked, where it stopped.
CNumeric& CNumeric::FromString(const char* text, char** end) {
    char* stop = const_cast<char*>(text);
    const double v = text ? strtod(text, &stop) : 0.0;
    if (end) *end = stop;
    return *this = CNumeric(v);
}
