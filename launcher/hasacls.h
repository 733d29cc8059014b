// Whether this Windows keeps access lists on its objects: NT does, 95, 98
// and Me do not (their security calls exist and fail).
#pragma once

bool systemHasAcls();
