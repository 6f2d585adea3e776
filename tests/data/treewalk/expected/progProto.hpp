/*-----------------------Program shop----------------------------*/
/*-------------------------- prototype declaration file:progProto.hpp----------------------------*/
#include "quv.hpp"

void _proc_add_0 ( void *father,int _a,int _b,int  &_sum );
void _proc_noop_1 ( void *father );
typedef struct 
{
int (* _p__a);
int (* _p__b);
int (* _p__sum);
int (* _p__t);
CONTROL (* _p__tick);
void *father;
}
add_local_type;
void _proc_scale_2 ( add_local_type *father,float _f );
typedef struct 
{
float (* _p__f);
add_local_type *father;
}
scale_add_local_type;
typedef struct 
{
void *father;
}
noop_local_type;
void _pros_worker_0 (int _n,float  &_acc,Channel<int  > *_inq,Channel<float  > *_outq);
;
void _pros_idle_1 ();
;
typedef struct 
{
STREAM (* _p__out);

}
worker_local_type;
typedef struct 
{

}
idle_local_type;
typedef struct 
{
int (* _p__i);
std::string (* _p__note);
void *father;
}
main_local_type;
void _proc_helper_4 ( main_local_type *father,int  &_x );
typedef struct 
{
int (* _p__x);
main_local_type *father;
}
helper_main_local_type;
