/*-----------------------Program starter----------------------------*/
/*-------------------------- source file :mprog.cpp----------------------------*/

#include "mprogInner.hpp"

const int _u_Steps = 3;
bool _done;
void _proc_inner_2 ( outer_main_local_type *father )
{
inner_outer_main_local_type local;
local.father = father;
//_l_i :


return ;
}
void _proc_outer_1 ( main_local_type *father,int _depth )
{
outer_main_local_type local;
local._p__depth = &_depth;
local.father = father;
//_l_o :


return ;
}
int  main()
{
int _k;
CONTROL _clock;
main_local_type local;
local._p__k = &_k;
local._p__clock = &_clock;
local.father=NULL;;
[&]()
{
//_l_m :


return ;
}
();

}
