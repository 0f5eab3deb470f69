// standin_host.exe DLL GOLDEN: does with klt_drv.dll what 1C:Enterprise 7.7 does, in the vendor's
// ABI, and checks what comes back. Registers and creates the component by its ProgID, starts it
// with a connection answering IAsyncEvent, creates the six registered classes through their runtime
// class records and drives them only through their virtual slots by number: a slot that moved, a
// layout that differs or a name that does not resolve shows here. One line per check; the exit
// code is the number of failed checks.
#include "host_classes.h"
#include "standin.h"
#include "win.h"

namespace {

int g_failed;

void Say(const char* format, __builtin_va_list args, const char* prefix) {
    char line[1024];
    int n = _snprintf(line, sizeof line, "%s", prefix);
    const int m = _vsnprintf(line + n, sizeof line - n - 2, format, args);
    n = m < 0 ? static_cast<int>(sizeof line) - 2 : n + m;
    line[n++] = '\n';
    unsigned long written = 0;
    WriteFile(GetStdHandle(static_cast<unsigned long>(-11)), line, n, &written, nullptr);
}

void Line(const char* format, ...) {
    __builtin_va_list args;
    __builtin_va_start(args, format);
    Say(format, args, "");
    __builtin_va_end(args);
}

bool Check(bool ok, const char* format, ...) {
    __builtin_va_list args;
    __builtin_va_start(args, format);
    Say(format, args, ok ? "ok " : "FAIL ");
    __builtin_va_end(args);
    if (!ok) ++g_failed;
    return ok;
}

bool Same(const char* a, const char* b) {
    return a && b && strcmp(a, b) == 0;
}

// --- the host's side of the add-in technology ---

struct IUnknownX {
    virtual HRESULT WINAPI QueryInterface(const GUID&, void**) = 0;
    virtual ULONG WINAPI AddRef() = 0;
    virtual ULONG WINAPI Release() = 0;
};
struct IDispatchX : IUnknownX {
    virtual HRESULT WINAPI GetTypeInfoCount(unsigned*) = 0;
    virtual HRESULT WINAPI GetTypeInfo(unsigned, ULONG, void**) = 0;
    virtual HRESULT WINAPI GetIDsOfNames(const GUID&, WCHAR**, unsigned, ULONG, long*) = 0;
    virtual HRESULT WINAPI Invoke(long, const GUID&, ULONG, unsigned short, void*, VARIANT*, void*,
                                  unsigned*) = 0;
};
struct IAsyncEventX : IUnknownX {
    virtual HRESULT WINAPI SetEventBufferDepth(long) = 0;
    virtual HRESULT WINAPI GetEventBufferDepth(long*) = 0;
    virtual HRESULT WINAPI ExternalEvent(BSTR, BSTR, BSTR) = 0;
    virtual HRESULT WINAPI CleanBuffer() = 0;
};
struct IInitDoneX : IUnknownX {
    virtual HRESULT WINAPI Init(IDispatchX*) = 0;
    virtual HRESULT WINAPI Done() = 0;
    virtual HRESULT WINAPI GetInfo(SAFEARRAY**) = 0;
};

constexpr GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidInitDone = {0xAB634001, 0xF13D, 0x11D0, {0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1, 0xDA, 0xEA}};
constexpr GUID kIidAsyncEvent = {
    0xAB634004, 0xF13D, 0x11D0, {0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1, 0xDA, 0xEA}};

struct Event {
    char source[64], message[64], data[64];
};

void ToCp1251(BSTR text, char* out, int size) {
    const int n = WideCharToMultiByte(1251, 0, text, text ? static_cast<int>(SysStringLen(text)) : 0, out,
                                      size - 1, nullptr, nullptr);
    out[n > 0 ? n : 0] = 0;
}

// The connection handed to Init: a minimal IDispatch and the host's event buffer. As in the host,
// events beyond the depth the add-in asked for are dropped, and counted here.
class Connection : public IDispatchX, public IAsyncEventX {
  public:
    HRESULT WINAPI QueryInterface(const GUID& iid, void** out) override {
        if (!out) return E_POINTER;
        if (SameGuid(iid, kIidUnknown) || SameGuid(iid, kIidDispatch))
            *out = static_cast<IDispatchX*>(this);
        else if (SameGuid(iid, kIidAsyncEvent))
            *out = static_cast<IAsyncEventX*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        ++refs;
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return ++refs; }
    ULONG WINAPI Release() override { return --refs; }
    HRESULT WINAPI GetTypeInfoCount(unsigned* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT WINAPI GetTypeInfo(unsigned, ULONG, void**) override { return E_NOTIMPL; }
    HRESULT WINAPI GetIDsOfNames(const GUID&, WCHAR**, unsigned, ULONG, long*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT WINAPI Invoke(long, const GUID&, ULONG, unsigned short, void*, VARIANT*, void*,
                          unsigned*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT WINAPI SetEventBufferDepth(long d) override {
        depth = d;
        return S_OK;
    }
    HRESULT WINAPI GetEventBufferDepth(long* d) override {
        if (!d) return E_POINTER;
        *d = depth;
        return S_OK;
    }
    HRESULT WINAPI ExternalEvent(BSTR source, BSTR message, BSTR data) override {
        if (count >= depth || count >= kCapacity) {
            ++dropped;
            return S_FALSE;
        }
        ToCp1251(source, events[count].source, sizeof events[count].source);
        ToCp1251(message, events[count].message, sizeof events[count].message);
        ToCp1251(data, events[count].data, sizeof events[count].data);
        ++count;
        return S_OK;
    }
    HRESULT WINAPI CleanBuffer() override {
        count = 0;
        return S_OK;
    }

    static constexpr int kCapacity = 64;
    long refs = 1;
    long depth = 1;
    int count = 0;
    int dropped = 0;
    Event events[kCapacity];
};

// --- slots by number, as the host calls them ---

void** Table(void* object) {
    return *static_cast<void***>(object);
}
template <class R, class... A>
R Slot(void* object, int slot, A... args) {
    using Entry = R(__thiscall*)(void*, A...);
    return reinterpret_cast<Entry>(Table(object)[slot])(object, args...);
}
// CObjID as it lies on the stack when passed by value.
struct RawObjID {
    long id;
    char sign[4];
};

int Find(void* object, const char* name) {
    return Slot<int>(object, 26, name);
}
int Proc(void* object, const char* name, CValue** args) {
    return Slot<int>(object, 31, Find(object, name), args);
}
int Func(void* object, const char* name, CValue& result, CValue** args) {
    return Slot<int>(object, 32, Find(object, name), &result, args);
}
long Number(const CValue& v) {
    return static_cast<long>(v.GetNumeric());
}

void Pump(unsigned ms) {
    const unsigned long end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<long>(GetTickCount() - end) < 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

// --- windows: the add-in's modal windows are answered by a timer, like a user pressing a button ---

HWND g_mainFrame;
int g_closerCommand;
int g_closerPosts;

BOOL WINAPI CloseDialog(HWND hwnd, LONG_PTR) {
    char cls[64];
    if (hwnd == g_mainFrame || !IsWindowVisible(hwnd)) return 1;
    if (GetClassNameA(hwnd, cls, sizeof cls) > 0 && Same(cls, "#32770")) {
        PostMessageA(hwnd, WM_COMMAND, static_cast<UINT_PTR>(g_closerCommand), 0);
        ++g_closerPosts;
    }
    return 1;
}
void WINAPI CloserTick(HWND, unsigned, UINT_PTR, unsigned long) {
    EnumThreadWindows(GetCurrentThreadId(), &CloseDialog, 0);
}

// Runs one call while a timer answers every dialog of ours with the command.
template <class Call>
int WithCloser(int command, Call call) {
    g_closerCommand = command;
    g_closerPosts = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, &CloserTick);
    const int r = call();
    KillTimer(nullptr, timer);
    return r;
}

HHOOK g_cbt;
LONG_PTR WINAPI RefuseWindows(int code, UINT_PTR w, LONG_PTR l) {
    if (code == HCBT_CREATEWND) return 1;
    return CallNextHookEx(g_cbt, code, w, l);
}

struct WindowList {
    HWND items[256];
    int count;
};
BOOL WINAPI Collect(HWND hwnd, LONG_PTR list) {
    auto* l = reinterpret_cast<WindowList*>(list);
    if (l->count < 256) l->items[l->count++] = hwnd;
    return 1;
}
void ThreadWindows(WindowList& list) {
    list.count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LONG_PTR>(&list));
}

// --- the golden method rows ---

struct Row {
    char cls[16];
    int number;
    char english[64];
    char russian[64];
    int params;
    int hasResult;
};
constexpr int kMaxRows = 160;
Row g_rows[kMaxRows];
int g_rowCount;

void Utf8ToCp1251(const char* in, char* out, int size) {
    WCHAR wide[128];
    const int n = MultiByteToWideChar(CP_UTF8, 0, in, -1, wide, 128);
    if (n <= 0 || WideCharToMultiByte(1251, 0, wide, -1, out, size, nullptr, nullptr) <= 0) out[0] = 0;
}

bool LoadRows(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    char line[512];
    while (g_rowCount < kMaxRows && fgets(line, sizeof line, f)) {
        if (line[0] == '#' || line[0] == '\n') continue;
        char* field[6];
        int k = 0;
        field[k++] = line;
        for (char* p = line; *p && k < 6; ++p)
            if (*p == '\t') {
                *p = 0;
                field[k++] = p + 1;
            }
        if (k != 6) continue;
        Row& r = g_rows[g_rowCount++];
        strncpy(r.cls, field[0], sizeof r.cls - 1);
        r.number = strtol(field[1], nullptr, 10);
        Utf8ToCp1251(field[2], r.english, sizeof r.english);
        Utf8ToCp1251(field[3], r.russian, sizeof r.russian);
        r.params = strtol(field[4], nullptr, 10);
        r.hasResult = strtol(field[5], nullptr, 10);
    }
    fclose(f);
    return true;
}

// The number FindMethod must give: the first row with that name, English before Russian.
int FirstRow(const Row* rows, int count, const char* name) {
    for (int i = 0; i < count; ++i)
        if (Same(rows[i].english, name) || Same(rows[i].russian, name)) return i;
    return -1;
}

// --- the six classes ---

struct ClassCase {
    const char* name;
    const char* typeString;
    const char* word;
    int methods;
    void* object;
};
ClassCase g_classes[] = {
    {"Vkusnica", "\xc2\xea\xf3\xf1\xed\xe8\xf6\xe0", "Service", 14, nullptr},
    {"Windows", "\xc2\xea\xf3\xf1\xed\xe8\xf6\xe0", "Service", 40, nullptr},
    {"Aura", "KLT Aura", "Aura", 30, nullptr},
    {"Nippon", "KLT Nippon", "Nippon", 23, nullptr},
    {"Tablo", "KLT Tablo", "Service", 12, nullptr},
    {"Zaly", "KLT Zaly", "Zaly", 2, nullptr},
};
constexpr int kClasses = 6;

void CheckRows(const ClassCase& c) {
    const Row* rows = nullptr;
    int count = 0;
    for (int i = 0; i < g_rowCount; ++i)
        if (Same(g_rows[i].cls, c.name)) {
            if (!rows) rows = &g_rows[i];
            ++count;
        }
    void* o = c.object;
    int bad = 0;
    char first[256] = "";
    auto wrong = [&](int n, const char* what) {
        if (bad++ == 0) _snprintf(first, sizeof first, "row %d: %s", n, what);
    };
    for (int n = 0; n < count; ++n) {
        const Row& r = rows[n];
        const char* english = Slot<const char*>(o, 27, n, 0);
        const char* russian = Slot<const char*>(o, 27, n, 1);
        if (!Same(english, r.english)) wrong(n, "English name");
        if (!Same(russian, r.russian)) wrong(n, "Russian name");
        if (Slot<int>(o, 28, n) != r.params) wrong(n, "parameter count");
        if (Slot<int>(o, 30, n) != r.hasResult) wrong(n, "has-result");
        if (r.english[0] && Find(o, r.english) != FirstRow(rows, count, r.english))
            wrong(n, "FindMethod(English)");
        if (Find(o, r.russian) != FirstRow(rows, count, r.russian)) wrong(n, "FindMethod(Russian)");
    }
    if (Find(o, "\xcd\xe5\xf2\xd2\xe0\xea\xee\xe3\xee\xcc\xe5\xf2\xee\xe4\xe0") != -1)
        wrong(-1, "unknown name found");
    Check(count == c.methods && bad == 0, "%s: %d method rows as described (%d wrong%s%s)", c.name, count,
          bad, bad ? ", first " : "", first);
}

void CheckShape(const ClassCase& c, long* ids) {
    void* o = c.object;
    Check(Slot<int>(o, 25) == c.methods, "%s: slot 25 counts %d methods", c.name, c.methods);
    Check(Same(Slot<const char*>(o, 17), c.typeString), "%s: slot 17 type string", c.name);
    CString word;
    Check(Slot<int>(o, 34, &word) == 1 && Same(word.m_pchData, c.word), "%s: slot 34 writes \"%s\"", c.name,
          c.word);
    Check(Same(Slot<const char*>(o, 27, c.methods, 0), "mError"), "%s: GetMethodName(%d, 0) is mError",
          c.name, c.methods);
    alignas(4) char typeBuf[sizeof(CType)];
    CType* type = Slot<CType*>(o, 9, reinterpret_cast<CType*>(typeBuf));
    Check(type == reinterpret_cast<CType*>(typeBuf) && type->GetTypeCode() == 100 && Slot<long>(o, 10) == 100,
          "%s: slot 9 type code 100, slot 10 answers 100", c.name);
    RawObjID id = {};
    Slot<RawObjID*>(o, 11, &id);
    ids[&c - g_classes] = id.id;
    Check(id.id != 0 && memcmp(id.sign, &CObjID::GetDefDBSign(), 4) == 0,
          "%s: slot 11 identifier %ld from the metadata, default signature", c.name, id.id);
    CValue untouched;
    const bool defaults =
        Slot<int>(o, 7) == 1 && Slot<int>(o, 8) == 0 && Slot<const char*>(o, 12) == nullptr &&
        Slot<int>(o, 13) == 0 && Slot<int>(o, 18) == 0 && Slot<int>(o, 19, "X") == -1 &&
        Slot<int>(o, 29, 0, 0, &untouched) == 1 && untouched.GetTypeCode() == 0 && Slot<int>(o, 33) == 0;
    Check(defaults, "%s: slots 7, 8, 12, 13, 18, 19, 29, 33 give their fixed answers", c.name);
    const int* base = static_cast<const int*>(o);
    Check(base[1] == 1 && base[2] == 1, "%s: base data at +4 (references 1) and +8 (destroys itself 1)",
          c.name);
}

// The base class's own bodies behind the slots the classes leave to it.
void CheckBaseSlots(void* o) {
    StandinBkendCounters before, after;
    StandinGetBkendCounters(&before);
    Slot<void>(o, 14, "X");
    CType type(100);
    Slot<void>(o, 15, &type);
    Slot<void>(o, 16, RawObjID{4242, {'A', 'B', 'C', 0}}, 77L);
    StandinGetBkendCounters(&after);
    Check(after.initObjectByName == before.initObjectByName + 1 &&
              after.initObjectByType == before.initObjectByType + 1 && after.lastInitTypeCode == 100,
          "slots 14 and 15 reach the base's InitObject(const char*) and InitObject(const CType&)");
    Check(after.selectByID == before.selectByID + 1 && after.lastSelectedObjID == 4242 &&
              after.lastSelectedNumber == 77,
          "slot 16 reaches the base's SelectByID with the identifier and number");
    Check(Slot<void*>(o, 35) == StandinInternalDataMark(), "slot 35 reaches the base's GetInternalData");
    CValue exact;
    Slot<void>(o, 36, &exact);
    const int* base = static_cast<const int*>(o);
    Check(exact.GetContext() == o && exact.GetTypeCode() == 100 && base[1] == 2,
          "slot 36 reaches the base's GetExactValue; the value holds a reference");
    exact.Reset();
    Check(base[1] == 1, "a value let go drops its reference through slot 6");
}

ClassCase& Class(const char* name) {
    for (ClassCase& c : g_classes)
        if (Same(c.name, name)) return c;
    return g_classes[0];
}

void CheckCalls() {
    CValue result;
    {
        void* o = Class("Vkusnica").object;
        CValue mode(1L);
        CValue* a1[] = {&mode};
        Check(Proc(o,
                   "\xcf\xee\xf0\xff\xe4\xee\xea\xce\xf2\xee\xe1\xf0\xe0\xe6\xe5\xed\xe8\xff\xd1\xf3\xec\xec",
                   a1) == 0,
              "Vkusnica: procedure 7 (sum display order, 1) answers 0");
        CValue start("7"), title("\xd2\xe5\xf1\xf2"), precision(0L);
        CValue* a3[] = {&start, &title, &precision};
        const int r = WithCloser(
            IDOK, [&] { return Func(o, "\xc7\xe0\xef\xf0\xee\xf1\xd7\xe8\xf1\xeb\xe0", result, a3); });
        Check(
            r == 0 && result.GetTypeCode() == 2 && Same(result.GetString().m_pchData, "7"),
            "Vkusnica: function 5 (number pad from \"7\"), confirmed, gives the text \"7\" (type %d, \"%s\")",
            result.GetTypeCode(), result.GetString().m_pchData);
    }
    {
        void* o = Class("Windows").object;
        CValue limit(40L), version(1L);
        CValue* a1[] = {&limit};
        CValue* v1[] = {&version};
        Check(Proc(o, "\xcc\xe0\xea\xf1\xca\xee\xeb\xd1\xf2\xee\xeb\xee\xe2\xc2\xc7\xe0\xeb\xe5", a1) == 0,
              "Windows: procedure 20 (hall table limit, 40) answers 0");
        result.Reset();
        const int r = Func(o,
                           "\xcf\xf0\xee\xe2\xe5\xf0\xea\xe0\xc2\xe5\xf0\xf1\xe8\xe8"
                           "DLL",
                           result, v1);
        Check(r == 0 && result.GetTypeCode() == 1 && Number(result) == 1,
              "Windows: function 19 (version check, 1) gives the number 1");
        const int proc = Find(o, "\xcc\xe0\xea\xf1\xca\xee\xeb\xd1\xf2\xee\xeb\xee\xe2\xc2\xc7\xe0\xeb\xe5");
        const int func = Find(o,
                              "\xcf\xf0\xee\xe2\xe5\xf0\xea\xe0\xc2\xe5\xf0\xf1\xe8\xe8"
                              "DLL");
        Check(Slot<int>(o, 32, proc, &result, a1) == 1 && Slot<int>(o, 31, func, v1) == 1,
              "Windows: a procedure through slot 32 and a function through slot 31 answer 1");
    }
    {
        void* o = Class("Aura").object;
        Check(Proc(o, "\xd1\xe1\xf0\xee\xf1", nullptr) == 0, "Aura: procedure 6 (Reset) answers 0");
        result.Reset();
        const int r = Func(o, "\xd1\xee\xe7\xe4\xe0\xf2\xfc\xcf\xee\xf1\xfb\xeb\xea\xf3", result, nullptr);
        Check(r == 0 && result.GetTypeCode() == 1 && Number(result) == 1,
              "Aura: function 27 (CreatePos) starts a job, gives 1");
    }
    {
        void* o = Class("Nippon").object;
        CValue bold(1L), port(99L), timeout(100L), baud(9600L), bits(8L), parity(0L);
        CValue* a1[] = {&bold};
        CValue* a5[] = {&port, &timeout, &baud, &bits, &parity};
        Check(Proc(o, "\xd3\xf1\xf2\xe0\xed\xee\xe2\xe8\xf2\xfc\xc6\xe8\xf0\xed\xee\xf1\xf2\xfc", a1) == 0,
              "Nippon: procedure 8 (SetBold, 1) answers 0");
        result = 5L;
        const int r = Func(o, "\xce\xf2\xea\xf0\xfb\xf2\xfc\xcf\xee\xf0\xf2", result, a5);
        Check(r == 0 && result.GetTypeCode() == 1 && Number(result) == 0,
              "Nippon: function 0 (OpenPort, port 99) on a port that does not exist gives 0");
    }
    {
        void* o = Class("Tablo").object;
        CValue kind(1L), port(99L), timeout(100L);
        CValue* a1[] = {&kind};
        CValue* a2[] = {&port, &timeout};
        Check(Proc(o, "\xd2\xe8\xef\xd2\xe0\xe1\xeb\xee", a1) == 0,
              "Tablo: procedure 10 (display type, 1) answers 0");
        result = 5L;
        // Without the display type set first this would stop in a message box.
        const int r = WithCloser(
            IDOK, [&] { return Func(o, "\xce\xf2\xea\xf0\xfb\xf2\xfc\xcf\xee\xf0\xf2", result, a2); });
        Check(r == 0 && result.GetTypeCode() == 1 && Number(result) == 0 && g_closerPosts == 0,
              "Tablo: function 6 (open port 99) on a port that does not exist gives 0, no message box");
    }
    {
        void* o = Class("Zaly").object;
        CValue number(1L), zero(0L);
        CValue* a3[] = {&number, &zero, &zero};
        result = 5L;
        const int r =
            WithCloser(IDCANCEL, [&] { return Func(o, "\xcc\xee\xed\xe8\xf2\xee\xf0", result, a3); });
        Check(
            r == 0 && result.GetTypeCode() == 2 && result.GetString().m_pchData[0] == 0 && g_closerPosts > 0,
            "Zaly: function 0 (hall monitor), closed by the user, gives the empty text");
        const int p = WithCloser(IDCANCEL, [&] {
            return Proc(o, "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe0\xc7\xe0\xeb\xee\xe2", nullptr);
        });
        Check(p == 0 && g_closerPosts > 0, "Zaly: procedure 1 (hall editor), closed by the user, answers 0");

        // No window can be made: the editor's body throws, the entry reports it to the host.
        char text[256];
        int code = 0;
        StandinTakeRuntimeErrors(nullptr, 0, nullptr);
        g_cbt = SetWindowsHookExA(WH_CBT, &RefuseWindows, nullptr, GetCurrentThreadId());
        const int failed = Proc(o, "\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe0\xc7\xe0\xeb\xee\xe2", nullptr);
        UnhookWindowsHookEx(g_cbt);
        const int raised = StandinTakeRuntimeErrors(text, sizeof text, &code);
        Check(failed == 1 && raised == 1 && Same(text, "Error: exception") && code == 1006,
              "Zaly: a body that throws answers 1 and raises \"Error: exception\" 1006 (answer %d, %d "
              "raised, \"%s\" %d)",
              failed, raised, text, code);
    }
}

void CheckEvents(Connection& connection) {
    void* o = Class("Windows").object;
    connection.CleanBuffer();
    const int droppedBefore = connection.dropped;
    CValue none(0L), name("\xc3\xee\xf2\xee\xe2\xee");
    CValue* a2[] = {&none, &name};
    const int r1 = Proc(
        o, "\xce\xe6\xe8\xe4\xe0\xed\xe8\xe5\xc7\xe0\xea\xf0\xfb\xf2\xe8\xff\xd4\xee\xf0\xec\xfb", nullptr);
    const int r2 = Proc(
        o, "\xc4\xee\xe6\xe4\xe0\xf2\xfc\xf1\xff\xc7\xe0\xea\xf0\xfb\xf2\xe8\xe5\xd4\xee\xf0\xec\xfb", a2);
    const unsigned long end = GetTickCount() + 3000;
    while (connection.count < 2 && static_cast<long>(GetTickCount() - end) < 0) Pump(20);
    Pump(100);  // nothing further may follow
    bool timer = false, named = false;
    for (int i = 0; i < connection.count; ++i) {
        const Event& e = connection.events[i];
        if (!Same(e.source, "\xca\xee\xec\xef\xee\xed\xe5\xed\xf2\xe0") || e.data[0]) continue;
        if (Same(e.message, "\xd2\xe0\xe9\xec\xe5\xf0")) timer = true;
        if (Same(e.message, "\xc3\xee\xf2\xee\xe2\xee")) named = true;
    }
    Check(
        r1 == 0 && r2 == 0 && connection.count == 2 && timer && named && connection.dropped == droppedBefore,
        "Windows: two watch timers raise two external events, both received, none dropped (%d received, %d "
        "dropped)",
        connection.count, connection.dropped - droppedBefore);
}

const char kAssignContext[] = "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z";
const char kSetIndicators[] = "?SetIndicators@SECStatusBar@@QAEHPBIH@Z";

bool Patched(const char* module, const char* name) {
    const auto* code = static_cast<const unsigned char*>(GetProcAddress(GetModuleHandleA(module), name));
    return code && code[0] == 0xFF && code[1] == 0x25;
}

void CheckPatches(CBLContext* context) {
    Check(Patched("frame.dll", kSetIndicators), "SECStatusBar::SetIndicators carries the add-in's jump");
    const int before = StandinSetIndicatorsCalls();
    SECStatusBar bar;
    const UINT ids[] = {1, 2};
    Check(bar.SetIndicators(ids, 2) == 1 && StandinSetIndicatorsCalls() == before,
          "SetIndicators answers 1 without running the host's body");
    Check(Patched("blang.dll", kAssignContext), "CBLModule::AssignContext carries the add-in's jump");
    const int calls = StandinAssignContextCalls(nullptr);
    CBLModule module;
    module.AssignContext(context);
    CBLContext* received = nullptr;
    Check(StandinAssignContextCalls(&received) == calls + 1 && received == context &&
              Patched("blang.dll", kAssignContext),
          "AssignContext runs the host's body once with the context, and the jump is back after it");
}

}  // namespace

extern "C" int HostMain() {
    int argc = 0, mode = 0;
    char** argv = nullptr;
    char** env = nullptr;
    __getmainargs(&argc, &argv, &env, 0, &mode);
    if (argc != 3 && argc != 4) {
        Line("usage: standin_host KLT_DRV.DLL METHOD_ROWS.TXT [workplace|pocket]");
        ExitProcess(2);
    }
    // "workplace" or "pocket": only start-up and shut-down run, as that user (a name in ASCII: the
    // command line's code page is not ours to choose).
    const char* rights = "";
    if (argc == 4) {
        rights = Same(argv[3], "workplace")
                     ? "\xd0\xe0\xe1\xee\xf7\xe5\xe5\xcc\xe5\xf1\xf2\xee"  // РабочееМесто
                 : Same(argv[3], "pocket") ? "\xd0\xe0\xe1\xee\xf7\xe5\xe5\xcc\xe5\xf1\xf2\xee"
                                             "PPC"
                                           : argv[3];
        StandinSetRightsName(rights);
    }
    const bool rows = LoadRows(argv[2]);
    Check(rows && g_rowCount == 121, "golden method rows read (%d)", g_rowCount);
    g_mainFrame = static_cast<HWND>(StandinCreateMainFrame("1C:Enterprise stand-in"));
    Check(g_mainFrame != nullptr && GetMainFrame() != nullptr, "main frame window created");
    Check(CoInitialize(nullptr) >= 0, "CoInitialize");
    Check(!Patched("frame.dll", kSetIndicators) && !Patched("blang.dll", kAssignContext),
          "the host functions the add-in patches are intact before it loads");
    static WindowList windowsBefore;
    ThreadWindows(windowsBefore);

    HMODULE dll = LoadLibraryA(argv[1]);
    if (!Check(dll != nullptr, "LoadLibrary %s", argv[1])) ExitProcess(100);
    using Entry = HRESULT(WINAPI*)();
    auto registerServer = reinterpret_cast<Entry>(GetProcAddress(dll, "DllRegisterServer"));
    auto canUnload = reinterpret_cast<Entry>(GetProcAddress(dll, "DllCanUnloadNow"));
    Check(registerServer && registerServer() == S_OK, "DllRegisterServer");

    GUID clsid;
    IUnknownX* addin = nullptr;
    IInitDoneX* initDone = nullptr;
    Check(CLSIDFromProgID(reinterpret_cast<const WCHAR*>(u"AddIn.KLT_DRV"), &clsid) == S_OK &&
              CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidUnknown,
                               reinterpret_cast<void**>(&addin)) == S_OK &&
              addin->QueryInterface(kIidInitDone, reinterpret_cast<void**>(&initDone)) == S_OK,
          "AddIn.KLT_DRV created by its ProgID, IInitDone");
    if (!initDone) ExitProcess(100);

    // Held by the host for the whole run, as the host holds its own connection object.
    Connection& connection = *new Connection;
    StandinBkendCounters start;
    StandinGetBkendCounters(&start);
    Check(initDone->Init(static_cast<IDispatchX*>(&connection)) == S_OK, "Init");
    Check(connection.depth == 16, "the add-in set the event buffer depth to 16 (%ld)", connection.depth);
    StandinBkendCounters afterInit;
    StandinGetBkendCounters(&afterInit);
    Check(afterInit.rightsNameCalls == start.rightsNameCalls + 1 &&
              afterInit.ibDirectoryCalls == start.ibDirectoryCalls + 1,
          "Init asked the global context for the rights set and context 5 for the directory");
    // Only the front-office workplace reads the three constants.
    const bool workplace = Same(rights, "\xd0\xe0\xe1\xee\xf7\xe5\xe5\xcc\xe5\xf1\xf2\xee");
    Check(afterInit.constantReads - start.constantReads == (workplace ? 3 : 0),
          "Init read %d of the constants for this rights set", afterInit.constantReads - start.constantReads);
    SAFEARRAY* info = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT version;
    VariantInit(&version);
    long index = 0;
    Check(initDone->GetInfo(&info) == S_OK && SafeArrayGetElement(info, &index, &version) == S_OK &&
              version.vt == VT_I4 && version.lVal == 2000,
          "GetInfo gives 2000");
    SafeArrayDestroy(info);

    bool registered = StandinRegisteredCount() == kClasses;
    for (const ClassCase& c : g_classes) registered = registered && StandinRegisteredClass(c.name) != nullptr;
    if (Check(registered, "six classes registered with type 100 (%d registered)", StandinRegisteredCount()) &&
        argc == 3) {
        StandinBkendCounters beforeObjects;
        StandinGetBkendCounters(&beforeObjects);
        long ids[kClasses];
        for (ClassCase& c : g_classes) {
            CRuntimeClass* rc = StandinRegisteredClass(c.name);
            c.object = rc->m_pfnCreateObject ? rc->m_pfnCreateObject() : nullptr;
            if (!Check(c.object != nullptr, "%s: created through its runtime class record", c.name)) continue;
            Slot<void>(c.object, 5);
            Check(Slot<CRuntimeClass*>(c.object, 0) == rc, "%s: slot 0 gives its runtime class record",
                  c.name);
            CheckShape(c, ids);
            CheckRows(c);
        }
        bool created = true;
        for (const ClassCase& c : g_classes) created = created && c.object;
        if (created) {
            bool distinct = true;
            for (int i = 0; i < kClasses; ++i)
                for (int j = 0; j < i; ++j) distinct = distinct && ids[i] != ids[j];
            Check(distinct, "the six identifiers differ");
            CheckBaseSlots(Class("Tablo").object);
            CheckCalls();
            CheckEvents(connection);
        }
        for (ClassCase& c : g_classes)
            if (c.object) Slot<void>(c.object, 6);
        StandinBkendCounters afterRelease;
        StandinGetBkendCounters(&afterRelease);
        Check(afterRelease.contextsAlive == beforeObjects.contextsAlive,
              "the last reference let go destroys each object through its deleting destructor (%d left)",
              afterRelease.contextsAlive - beforeObjects.contextsAlive);
    }

    CheckPatches(CBLContext::GetLoadedContext(1));
    Check(initDone->Done() == S_OK && StandinRegisteredCount() == 0, "Done unregisters the classes");
    initDone->Release();
    Check(addin->Release() == 0, "the add-in object released");
    Check(connection.refs == 1, "the add-in let go of the connection");
    // The patches stay for the life of the process, and they jump into the add-in: while they are
    // in place the add-in must refuse to be unloaded, or the next call of a patched function would
    // run freed code.
    const bool patched = Patched("frame.dll", kSetIndicators) || Patched("blang.dll", kAssignContext);
    const HRESULT unloadable = canUnload ? canUnload() : E_POINTER;
    CoFreeUnusedLibrariesEx(0, 0);
    FreeLibrary(dll);
    const bool loaded = GetModuleHandleA("klt_drv.dll") != nullptr;
    if (patched)
        Check(unloadable == S_FALSE && loaded,
              "host functions patched: DllCanUnloadNow answers S_FALSE (0x%lx), "
              "klt_drv.dll stays loaded",
              static_cast<unsigned long>(unloadable));
    else
        Check(unloadable == S_OK && !loaded,
              "DllCanUnloadNow answers S_OK (0x%lx), klt_drv.dll is no longer loaded",
              static_cast<unsigned long>(unloadable));
    Pump(50);
    static WindowList windowsAfter;
    ThreadWindows(windowsAfter);
    int left = 0;
    for (int i = 0; i < windowsAfter.count; ++i) {
        char cls[64] = "";
        GetClassNameA(windowsAfter.items[i], cls, sizeof cls);
        bool known = Same(cls, "OleMainThreadWndClass") || Same(cls, "IME");
        for (int j = 0; j < windowsBefore.count && !known; ++j)
            known = windowsAfter.items[i] == windowsBefore.items[j];
        if (!known) {
            ++left;
            Check(false, "window of class \"%s\" left behind", cls);
        }
    }
    Check(left == 0, "no window of the add-in remains");
    StandinDestroyMainFrame();
    CoUninitialize();
    Line("standin host: %d failed", g_failed);
    ExitProcess(g_failed > 100 ? 100 : g_failed);
    return 0;
}
