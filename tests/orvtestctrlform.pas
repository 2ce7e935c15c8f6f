{ A form whose form file wires its controls, its action and its image list
  together with links, for reading at run time on a shown form. }
unit Orvtestctrlform;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Controls, Forms, ActnList, ImgList,
  Orvconlist, Orvp2p, Orve2m;

type
  { Action1 moves CustomControl1 by an event-to-method link; CustomControl2
    follows CustomControl1's width with its height on OnResize; Counter's
    Tag follows the number of images in ImageList1. }
  TTestControlsForm = class(TForm)
    CustomControl1: TCustomControl;
    CustomControl2: TCustomControl;
    ActionList1: TActionList;
    Action1: TAction;
    ImageList1: TImageList;
    Counter: TComponent;
    Links: TorvConnectionList;
    MoveOnExecute: TorvE2MConnection;
    HeightFollowsWidth: TorvP2PConnection;
    CountImages: TorvP2PConnection;
  end;

implementation

{$R *.lfm}

end.
