#pragma once
// The user database of a test on a server: with ZENTRY_TEST_PG_URL set (a
// throwaway server the test script started), every TestFolder's ini points
// the user database at a fresh database of its own on that server, dropped
// again when the folder goes.
#include <QString>

class TestFolder;

// The server the test script started, or empty.
QString testServer();
// The URL of the folder's own server database, or empty.
QString serverUrlOf(const TestFolder& folder);
// Prepares the folder's server database as `zentry-tool server init` does
// and adds a login of the trainee PCs' role to it: the URL that logs in with
// it, for an ini of a trainee PC.
QString traineeUrlOf(const TestFolder& folder);
