// The stand-in's mfc42.dll: MFC 4.2's reference-counted CString, exported by ordinal only as the
// real library exports it (mfc42.def). The text is preceded by {nRefs, nDataLength, nAllocLength};
// the shared empty string has nRefs -1 and is never freed.
#define STANDIN_BUILD_MFC
#include "host_classes.h"
#include "win.h"

namespace {

struct StringData {
    long nRefs;
    int nDataLength;
    int nAllocLength;
    char* Text() { return reinterpret_cast<char*>(this + 1); }
};

struct {
    StringData header;
    char text[4];
} g_nil = {{-1, 0, 0}, {0}};

StringData* DataOf(const char* text) {
    return reinterpret_cast<StringData*>(const_cast<char*>(text)) - 1;
}

char* Allocate(const char* text, int length) {
    if (length <= 0) return g_nil.header.Text();
    auto* data = static_cast<StringData*>(malloc(sizeof(StringData) + length + 1));
    data->nRefs = 1;
    data->nDataLength = length;
    data->nAllocLength = length;
    memcpy(data->Text(), text, length);
    data->Text()[length] = 0;
    return data->Text();
}

void Release(char* text) {
    StringData* data = DataOf(text);
    if (data->nRefs < 0) return;
    if (--data->nRefs == 0) free(data);
}

}  // namespace

CString::CString() : m_pchData(g_nil.header.Text()) {}

CString::CString(const char* text) : m_pchData(Allocate(text, text ? static_cast<int>(strlen(text)) : 0)) {}

CString::CString(const CString& other) : m_pchData(other.m_pchData) {
    StringData* data = DataOf(m_pchData);
    if (data->nRefs >= 0) ++data->nRefs;
}

CString::~CString() {
    Release(m_pchData);
}

const CString& CString::operator=(const char* text) {
    char* fresh = Allocate(text, text ? static_cast<int>(strlen(text)) : 0);
    Release(m_pchData);
    m_pchData = fresh;
    return *this;
}
