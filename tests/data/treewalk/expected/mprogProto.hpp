/*-----------------------Program starter----------------------------*/
/*-------------------------- prototype declaration file:mprogProto.hpp----------------------------*/
#include "quv.hpp"

typedef struct 
{
int (* _p__k);
CONTROL (* _p__clock);
void *father;
}
main_local_type;
void _proc_outer_1 ( main_local_type *father,int _depth );
typedef struct 
{
int (* _p__depth);
main_local_type *father;
}
outer_main_local_type;
void _proc_inner_2 ( outer_main_local_type *father );
typedef struct 
{
outer_main_local_type *father;
}
inner_outer_main_local_type;
