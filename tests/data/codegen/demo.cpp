/*-----------------------Program demo----------------------------*/
/*-------------------------- source file :@DIR@/demo.cpp----------------------------*/

#include "@DIR@/demoInner.hpp"

const int _k = 1;
int main()
{
}
