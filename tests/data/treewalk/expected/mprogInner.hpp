/*-----------------------Program starter----------------------------*/
/*-------------------------- inner type declaration file:mprogInner.hpp----------------------------*/
#include "mprogProto.hpp"

