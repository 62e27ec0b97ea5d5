// CObject run-time classes and the framework exceptions.
#include <errno.h>
#include <string.h>

#include <string>

#include <afx.h>
#include <afxcoll.h>

#include "afx_test_support.h"

namespace {

using afx_test::CatchFileError;
using afx_test::FileError;
using afx_test::Throws;

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
    DECLARE_DYNAMIC(CSquare)
};
IMPLEMENT_DYNAMIC(CSquare, CShape)

TEST(RuntimeClassTest, DescribesDeclaredClassesAndTheirBases) {
    CCircle circle;
    CSquare square;
    CRuntimeClass* pClass = static_cast<const CObject&>(circle).GetRuntimeClass();
    EXPECT_EQ(pClass, RUNTIME_CLASS(CCircle));
    EXPECT_STREQ(pClass->m_lpszClassName, "CCircle");
    EXPECT_EQ(pClass->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
    EXPECT_EQ(pClass->m_wSchema, 0xFFFFu);
    EXPECT_STREQ(CStringArray().GetRuntimeClass()->m_lpszClassName, "CStringArray");
    struct Case {
        const CObject* object;
        CRuntimeClass* pClass;
        BOOL want;
    };
    const Case cases[] = {
        {&circle, RUNTIME_CLASS(CShape), TRUE},   {&circle, RUNTIME_CLASS(CObject), TRUE},
        {&circle, RUNTIME_CLASS(CSquare), FALSE}, {&square, RUNTIME_CLASS(CCircle), FALSE},
        {&circle, NULL, FALSE},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].object->IsKindOf(cases[i].pClass), cases[i].want) << "case " << i;
    EXPECT_TRUE(RUNTIME_CLASS(CInvalidArgException)->IsDerivedFrom(RUNTIME_CLASS(CSimpleException)));
}

TEST(RuntimeClassTest, CreatesOnlyDynCreateClasses) {
    CObject* pObject = RUNTIME_CLASS(CCircle)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(pObject)->m_nRadius, 7);
    delete pObject;
    EXPECT_EQ(RUNTIME_CLASS(CSquare)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

TEST(ExceptionTest, ThrowHelpersThrowTheirClass) {
    EXPECT_TRUE(Throws<CMemoryException>([] { AfxThrowMemoryException(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([] { AfxThrowInvalidArgException(); }));
    EXPECT_TRUE(Throws<CNotSupportedException>([] { AfxThrowNotSupportedException(); }));
    EXPECT_EQ(CatchFileError([] { AfxThrowFileException(CFileException::diskFull, 112, "out.dat"); }),
              (FileError{true, CFileException::diskFull, 112, "out.dat"}));
    EXPECT_EQ(CatchFileError([] { CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, "a"); }),
              (FileError{true, CFileException::sharingViolation, ERROR_SHARING_VIOLATION, "a"}));
    EXPECT_EQ(CatchFileError([] { CFileException::ThrowErrno(ENOENT, "b"); }),
              (FileError{true, CFileException::fileNotFound, ENOENT, "b"}));
    EXPECT_FALSE(CatchFileError([] { CFileException::ThrowOsError(0, "a"); }).thrown);
}

TEST(ExceptionTest, DeleteSparesStaticExceptions) {
    CMemoryException* heap = new CMemoryException();
    EXPECT_TRUE(heap->m_bAutoDelete);
    heap->Delete();  // the leak checker sees it freed
    CInvalidArgException onStack(FALSE);
    onStack.Delete();  // the stack checker sees it spared
    EXPECT_FALSE(onStack.m_bAutoDelete);
}

TEST(ExceptionTest, ErrorMessageFitsTheBuffer) {
    CInvalidArgException e(FALSE);
    char full[256];
    UINT help = 99;
    ASSERT_TRUE(e.GetErrorMessage(full, sizeof full, &help));
    EXPECT_EQ(help, 0u);
    const size_t n = strlen(full);
    ASSERT_GT(n, 4u);
    struct Case {
        UINT size;
        size_t wantLength;
    };
    const Case cases[] = {{static_cast<UINT>(n + 10), n}, {static_cast<UINT>(n + 1), n}, {4, 3}, {1, 0}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        char buffer[300];
        memset(buffer, '#', sizeof buffer);
        EXPECT_TRUE(e.GetErrorMessage(buffer, cases[i].size)) << "case " << i;
        EXPECT_EQ(strlen(buffer), cases[i].wantLength) << "case " << i;
        EXPECT_EQ(strncmp(buffer, full, cases[i].wantLength), 0) << "case " << i;
        EXPECT_EQ(buffer[cases[i].wantLength + 1], '#') << "case " << i;  // nothing past the terminator
    }
    char untouched[8] = "keep";
    EXPECT_FALSE(e.GetErrorMessage(untouched, 0));
    EXPECT_STREQ(untouched, "keep");
    EXPECT_FALSE(e.GetErrorMessage(NULL, 10));

    CFileException named(CFileException::fileNotFound, 2, "C:\\data\\x.txt");
    ASSERT_TRUE(named.GetErrorMessage(full, sizeof full));
    EXPECT_EQ(std::string(full).find("C:\\data\\x.txt"), 0u);
    named.Clear();
    EXPECT_EQ(named.m_cause, CFileException::none);
    EXPECT_EQ(named.m_lOsError, -1);
}

TEST(ExceptionTest, MapsErrorsToCauses) {
    const LONG cases[][2] = {
        {0, CFileException::none}, {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied}, {ERROR_INVALID_HANDLE, CFileException::fileNotFound},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation}, {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_HANDLE_DISK_FULL, CFileException::diskFull}, {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_FILE_EXISTS, CFileException::accessDenied}, {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
        {ERROR_INVALID_NAME, CFileException::badPath}, {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir}, {ERROR_BAD_PATHNAME, CFileException::badPath},
        {ERROR_BAD_EXE_FORMAT, CFileException::invalidFile}, {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath},
        {ERROR_DIRECTORY, CFileException::badPath}, {ERROR_NOT_SUPPORTED, CFileException::genericException},
        {-1, CFileException::genericException},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CFileException::OsErrorToException(cases[i][0]), cases[i][1]) << "case " << i;
    const int errnos[][2] = {{ENOENT, CFileException::fileNotFound}, {EACCES, CFileException::accessDenied},
                             {ENOSPC, CFileException::diskFull}, {EEXIST, CFileException::genericException}};
    for (size_t i = 0; i < std::size(errnos); ++i)
        EXPECT_EQ(CFileException::ErrnoToException(errnos[i][0]), errnos[i][1]) << "errno case " << i;
}

// The CATCH block frees its exception on the way out, unless THROW_LAST
// passes it on; the leak checker holds both halves.
TEST(ExceptionTest, CatchMacrosOwnTheException) {
    int caught = 0;
    TRY {
        AfxThrowInvalidArgException();
    }
    CATCH(CFileException, e) {
        caught = 1;
        (void)e;
    }
    AND_CATCH(CInvalidArgException, e) {
        caught = 2;
        (void)e;
    }
    END_CATCH
    EXPECT_EQ(caught, 2);

    EXPECT_TRUE(Throws<CNotSupportedException>([] {
        TRY {
            AfxThrowNotSupportedException();
        }
        CATCH_ALL(e) {
            THROW_LAST();
        }
        END_CATCH_ALL
    }));
}

}  // namespace
